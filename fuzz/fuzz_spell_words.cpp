// Fuzzes the splitting of a text into the words a dictionary judges: spans
// lie within the text in order without overlapping, each word has two letters
// or more and only letters, hyphens and apostrophes, and putting a word back
// in its place with replaceWord gives the text again (the accelerator where
// it was), unless the word was written with escapes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/spell/words.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tov::spell;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<WordSpan> spans;
    splitWords(text, spans);
    std::uint32_t end = 0;
    for (const WordSpan& span : spans) {
        check(span.start >= end && span.length > 0 && span.start + span.length <= text.size());
        end = span.start + span.length;
        const std::string word = wordAt(text, span);
        int letters = 0;
        for (char c : word) {
            const auto b = static_cast<unsigned char>(c);
            letters += isLetter(b);
            check(isLetter(b) || c == '-' || c == '\'' || b == 0x92);
        }
        check(letters >= 2);
        // (Each replacement copies the text: only for texts of a row's size.)
        if (text.size() <= 4096 && text.substr(span.start, span.length).find('\\') == std::string_view::npos)
            check(replaceWord(text, span, word) == text);
    }
    return 0;
}
