// pitwall-cli-docs OUT_DIR: writes the shell completions and the man page of
// pitwall-cli from its command definitions, so that they always match the
// program: OUT_DIR/completions/{pitwall-cli.bash,_pitwall-cli,pitwall-cli.fish}
// and OUT_DIR/man/pitwall-cli.1.

#include "CommandTree.h"
#include "DefineCommands.h"
#include "Writers.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

bool WriteFile(const std::filesystem::path& path, const std::string& text)
{
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) {
        std::cerr << "pitwall-cli-docs: cannot write " << path.string() << '\n';
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: pitwall-cli-docs OUT_DIR\n";
        return 2;
    }
    using namespace pitwall::clidocs;
    std::ostringstream unused;
    pitwall::cli::CliContext context(unused, unused, "");
    CLI::App app;
    pitwall::cli::DefineCommands(app, context);
    const CommandDoc root = DescribeCommands(app);
    const std::filesystem::path out = argv[1];
    bool ok = WriteFile(out / "completions" / "pitwall-cli.bash", BashCompletion(root));
    ok = WriteFile(out / "completions" / "_pitwall-cli", ZshCompletion(root)) && ok;
    ok = WriteFile(out / "completions" / "pitwall-cli.fish", FishCompletion(root)) && ok;
    ok = WriteFile(out / "man" / "pitwall-cli.1", ManPage(root, PITWALL_RELEASE_DATE, PITWALL_VERSION)) && ok;
    return ok ? 0 : 1;
}
