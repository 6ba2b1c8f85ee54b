// The text of a row: either a view into bytes that the document keeps alive
// (a file read once, whose texts need no unescaping, or texts unescaped in
// place) or bytes of its own (what was typed, fitted or built). A document of
// 65,535 rows then holds its files once instead of once more in strings.
//
// Whatever is assigned is copied; only Text::borrowed makes a view, and the
// one who makes it answers for the bytes outliving it
// (TranslationDocument::keep).
//
// A text takes 12 bytes: a row holds six of them, and a document of 65,535
// rows a few megabytes of rows; its pointer may stand on a 4-byte boundary.
#pragma once

#include <cstdint>
#include <cstring>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tov {

#pragma pack(push, 4)
class Text {
public:
    Text() noexcept = default;
    Text(std::string_view s) { copyFrom(s); }
    Text(const std::string& s) { copyFrom(s); }
    Text(const char* s) { copyFrom(s); }
    // A view of `s`, which must stay as it is while this text (or a copy of
    // it) is used.
    static Text borrowed(std::string_view s)
    {
        checkSize(s.size());
        Text t;
        t.data_ = s.data();
        t.size_ = static_cast<std::uint32_t>(s.size()) & kMaxSize;
        return t;
    }

    Text(const Text& other)
    {
        if (other.owned_) copyFrom(other.view());
        else { data_ = other.data_; size_ = other.size_; }
    }
    Text(Text&& other) noexcept : data_(other.data_), size_(other.size_), owned_(other.owned_)
    {
        other.data_ = nullptr;
        other.size_ = 0;
        other.owned_ = 0;
    }
    Text& operator=(const Text& other)
    {
        if (this != &other) {
            if (other.owned_) assignCopy(other.view());
            else { release(); data_ = other.data_; size_ = other.size_; }
        }
        return *this;
    }
    Text& operator=(Text&& other) noexcept
    {
        if (this != &other) {
            release();
            data_ = other.data_;
            size_ = other.size_;
            owned_ = other.owned_;
            other.data_ = nullptr;
            other.size_ = 0;
            other.owned_ = 0;
        }
        return *this;
    }
    Text& operator=(std::string_view s) { assignCopy(s); return *this; }
    Text& operator=(const std::string& s) { assignCopy(s); return *this; }
    Text& operator=(const char* s) { assignCopy(s); return *this; }
    ~Text() { release(); }

    std::string_view view() const noexcept { return {data_, size_}; }
    operator std::string_view() const noexcept { return view(); }
    std::string str() const { return std::string(view()); }

    const char* data() const noexcept { return data_; }
    std::size_t size() const noexcept { return size_; }
    std::size_t length() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }
    const char* begin() const noexcept { return data_; }
    const char* end() const noexcept { return data_ + size_; }
    char operator[](std::size_t i) const noexcept { return data_[i]; }
    // Whether the bytes are the text's own (not a view).
    bool owned() const noexcept { return owned_; }
    void clear() noexcept { release(); }

    friend bool operator==(const Text& a, const Text& b) noexcept { return a.view() == b.view(); }
    friend bool operator==(const Text& a, std::string_view b) noexcept { return a.view() == b; }
    friend bool operator==(const Text& a, const std::string& b) noexcept { return a.view() == std::string_view(b); }
    friend bool operator==(const Text& a, const char* b) noexcept { return a.view() == std::string_view(b); }

    friend std::ostream& operator<<(std::ostream& out, const Text& t) { return out << t.view(); }

private:
    void release() noexcept
    {
        if (owned_) delete[] data_;
        data_ = nullptr;
        size_ = 0;
        owned_ = 0;
    }
    static void checkSize(std::size_t n)
    {
        if (n > kMaxSize) throw std::length_error("a text of more than 2 GB");
    }
    void copyFrom(std::string_view s)
    {
        if (s.empty()) return;
        checkSize(s.size());
        char* bytes = new char[s.size()];
        std::memcpy(bytes, s.data(), s.size());
        data_ = bytes;
        size_ = static_cast<std::uint32_t>(s.size()) & kMaxSize;
        owned_ = 1;
    }
    void assignCopy(std::string_view s)
    {
        // `s` may be a view into this text's own bytes.
        Text copy(s);
        *this = std::move(copy);
    }

    static constexpr std::size_t kMaxSize = 0x7FFFFFFF;
    const char* data_ = nullptr;
    std::uint32_t size_ : 31 = 0;
    std::uint32_t owned_ : 1 = 0;
};
#pragma pack(pop)
static_assert(sizeof(Text) == 12);

}  // namespace tov
