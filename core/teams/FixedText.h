#pragma once
// A fixed-width text field of a game record, as the game keeps it: N
// single-byte (Windows-1252) characters, zero-padded, with no terminator when
// all N are used. The field keeps all N bytes, including whatever follows the
// first zero, so a record read from a game file is written back byte for byte;
// storing a text that differs from the current one rewrites the whole field.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace pitwall {

template <std::size_t N>
class FixedText {
public:
    static constexpr std::size_t kWidth = N;

    FixedText() = default;
    explicit FixedText(std::string_view text) { assign(text); }

    // The characters up to the first zero byte, or all N.
    std::string text() const
    {
        std::size_t length = 0;
        while (length < N && bytes_[length] != 0)
            ++length;
        return std::string(reinterpret_cast<const char*>(bytes_.data()), length);
    }

    // Stores the first N characters and zero-fills the rest. A zero byte ends
    // the text: what would follow it could not be seen, yet would be written
    // into the game's file. Storing the text the field already shows leaves
    // its bytes alone.
    void assign(std::string_view text)
    {
        text = text.substr(0, std::min({text.size(), text.find('\0'), N}));
        if (text == this->text())
            return;
        bytes_.fill(0);
        std::copy(text.begin(), text.end(), bytes_.begin());
    }

    FixedText& operator=(std::string_view text)
    {
        assign(text);
        return *this;
    }

    const std::array<std::uint8_t, N>& bytes() const { return bytes_; }
    void setBytes(std::span<const std::uint8_t, N> bytes) { std::copy(bytes.begin(), bytes.end(), bytes_.begin()); }

    bool operator==(std::string_view text) const { return this->text() == text; }
    friend bool operator==(const FixedText&, const FixedText&) = default;

private:
    std::array<std::uint8_t, N> bytes_{};
};

} // namespace pitwall
