# The fish completion the build wrote (BUILD_DIR/completions/pitwall-cli.fish),
# asked through fish's own `complete -C` what it offers.
source $argv[1]/completions/pitwall-cli.fish
or exit 1
set -l work (mktemp -d)
cd $work
mkdir important
touch imports.txt
set -g failures 0

# expect WANT COMMAND_LINE: the candidates (without descriptions), sorted.
function expect
    set -l got (complete -C"$argv[2]" | string replace -r '\t.*' '' | sort | string join ' ')
    if test "$got" != "$argv[1]"
        echo "FAIL: '$argv[2]' completes to '$got', expected '$argv[1]'"
        set failures (math $failures + 1)
    end
end

expect import 'pitwall-cli imp'
expect --items 'pitwall-cli import --it'
expect teams 'pitwall-cli import --items tea'
expect teams,sounds 'pitwall-cli import --items teams,so'
expect 'v1.13 v1.13-video' 'pitwall-cli make-demo --game-version v1.1'
expect --game 'pitwall-cli --quiet art menu export-all --ga'
expect 'export import' 'pitwall-cli cockpit lcd '
expect DEUTSCH 'pitwall-cli cockpit render --language DE'
expect ENGLISH 'pitwall-cli text import --language EN'
expect important/ 'pitwall-cli --restore-dir imp'
expect 'important/ imports.txt' 'pitwall-cli import -o imp'
expect import 'pitwall-cli --restore-dir important imp'

cd /
rm -rf $work
test $failures = 0
or exit 1
echo "fish completion: all offered as expected"
