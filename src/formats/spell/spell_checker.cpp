#include "formats/spell/spell_checker.h"

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

#include <hunspell.hxx>

#include "formats/spell/encoding.h"
#include "support/files.h"
#include "support/strutil.h"
#include "support/text_file.h"

namespace tov::spell {
namespace {

// Lookups of std::string keys by std::string_view without a copy.
struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
template <typename Value>
using Map = std::unordered_map<std::string, Value, Hash, std::equal_to<>>;
using Set = std::unordered_set<std::string, Hash, std::equal_to<>>;

// Beyond these sizes a cache starts again from nothing; 65,535 rows of a
// table fit well within them.
constexpr std::size_t kMaxTexts = 1u << 18;
constexpr std::size_t kMaxWords = 1u << 18;

bool isAcceptableWord(std::string_view word)
{
    return !word.empty() && std::none_of(word.begin(), word.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b <= 0x20 || b == 0x7F || b == 0xA0;
    });
}

// hunspell keeps tables shared by all its dictionaries, built by the first
// one made and freed by the last one destroyed, without a lock of its own:
// dictionaries are made and destroyed one at a time, whatever the thread.
std::mutex& hunspellLifetimes()
{
    static std::mutex mutex;
    return mutex;
}

template <typename Container, typename Pred>
void eraseIf(Container& c, Pred pred)
{
    for (auto it = c.begin(); it != c.end();) it = pred(*it) ? c.erase(it) : std::next(it);
}

}  // namespace

std::string personalListFile(const std::string& programFolder, std::string_view language)
{
    return programFolder + "spelling/" + std::string(language) + ".txt";
}

struct SpellChecker::State {
    Dictionary dictionary;
    DictionaryEncoding encoding;
    std::string personalFile;
    std::unique_ptr<Hunspell> hunspell;

    ~State()
    {
        const std::lock_guard lock(hunspellLifetimes());
        hunspell.reset();
    }

    mutable std::mutex mutex;
    Set ignored, personal;
    std::vector<std::string> personalOrder;
    Map<bool> words;           // word (+ "." when one follows it) -> spelled right
    Map<Misspellings> texts;   // text -> its misspelled words
    std::vector<WordSpan> spans;  // scratch of check()
    std::string key, encoded;     // scratch of correct()

    // Whether `word` is right; `dot`: a full stop follows it in the text,
    // which lets the dictionary take it as an abbreviation ("np.", "etc.").
    bool correct(std::string_view word, bool dot)
    {
        if (ignored.contains(word) || personal.contains(word)) return true;
        key.assign(word);
        if (dot) key += '.';
        if (const auto it = words.find(key); it != words.end()) return it->second;
        encoded.clear();
        const bool right = encoding.encode(key, encoded) && hunspell->spell(encoded);
        if (words.size() >= kMaxWords) words.clear();
        words.emplace(key, right);
        return right;
    }

    // The misspelled words of `text`; `first`: only the first one.
    Misspellings misspellings(std::string_view text, bool first)
    {
        Misspellings found;
        splitWords(text, spans);
        for (const WordSpan& span : spans) {
            const std::size_t end = span.start + span.length;
            const bool dot = end < text.size() && text[end] == '.';
            const std::string_view written = text.substr(span.start, span.length);
            const bool right = written.find_first_of("&\\") == std::string_view::npos ? correct(written, dot)
                                                                           : correct(wordAt(text, span), dot);
            if (right) continue;
            found.push_back(span);
            if (first) break;
        }
        return found;
    }

    // A word taken as right from now on: only the answers "misspelled" can
    // change, so only they are forgotten.
    void accepted()
    {
        eraseIf(words, [](const auto& e) { return !e.second; });
        eraseIf(texts, [](const auto& e) { return !e.second.empty(); });
    }

    // A word of the personal list; false when it is one already or no word.
    bool addPersonal(std::string word)
    {
        if (!isAcceptableWord(word) || !personal.insert(word).second) return false;
        encoded.clear();
        // Known to the dictionary too, so that its capitalised forms are right
        // and it may be suggested.
        if (encoding.encode(word, encoded)) hunspell->add(encoded);
        personalOrder.push_back(std::move(word));
        return true;
    }
};

std::optional<SpellChecker> SpellChecker::open(const Dictionary& dictionary, const std::string& programFolder,
                                               std::string* error)
{
    auto fail = [&](std::string why) -> std::optional<SpellChecker> {
        if (error) *error = std::move(why);
        return std::nullopt;
    };
    for (const std::string* file : {&dictionary.affixFile, &dictionary.wordFile})
        if (!fileExists(*file)) return fail("cannot read " + *file);
    auto state = std::make_shared<State>();
    state->dictionary = dictionary;
    const std::string set = affixEncoding(dictionary.affixFile);
    if (!state->encoding.open(set)) return fail("unknown encoding " + set + " of " + dictionary.affixFile);
    {
        const std::lock_guard lock(hunspellLifetimes());
        state->hunspell = std::make_unique<Hunspell>(dictionary.affixFile.c_str(), dictionary.wordFile.c_str());
    }
    state->personalFile = personalListFile(programFolder, dictionary.language);
    std::vector<std::string> lines;
    readLines(state->personalFile, lines);
    for (const std::string& line : lines) state->addPersonal(trimControls(line));
    return SpellChecker(std::move(state));
}

const Dictionary& SpellChecker::dictionary() const { return state_->dictionary; }
const std::string& SpellChecker::encoding() const { return state_->encoding.name(); }
const std::string& SpellChecker::personalList() const { return state_->personalFile; }

Misspellings SpellChecker::check(std::string_view text) const
{
    State& s = *state_;
    const std::lock_guard lock(s.mutex);
    if (const auto it = s.texts.find(text); it != s.texts.end()) return it->second;
    Misspellings found = s.misspellings(text, false);
    if (s.texts.size() >= kMaxTexts) s.texts.clear();
    s.texts.emplace(text, found);
    return found;
}

bool SpellChecker::misspelled(std::string_view text) const
{
    State& s = *state_;
    const std::lock_guard lock(s.mutex);
    if (const auto it = s.texts.find(text); it != s.texts.end()) return !it->second.empty();
    return !s.misspellings(text, true).empty();
}

bool SpellChecker::isCorrect(std::string_view word) const
{
    const std::lock_guard lock(state_->mutex);
    return state_->correct(word, false);
}

std::vector<std::string> SpellChecker::suggest(std::string_view word) const
{
    State& s = *state_;
    const std::lock_guard lock(s.mutex);
    std::string encoded;
    if (!s.encoding.encode(word, encoded)) return {};
    std::vector<std::string> out;
    for (const std::string& suggestion : s.hunspell->suggest(encoded)) {
        std::string bytes;
        if (s.encoding.decode(suggestion, bytes) && std::find(out.begin(), out.end(), bytes) == out.end())
            out.push_back(std::move(bytes));
    }
    return out;
}

void SpellChecker::ignore(std::string_view word)
{
    State& s = *state_;
    const std::lock_guard lock(s.mutex);
    if (s.ignored.emplace(word).second) s.accepted();
}

WriteResult SpellChecker::addToPersonal(std::string_view word)
{
    if (!isAcceptableWord(word)) return {false, "not a single word"};
    State& s = *state_;
    const std::lock_guard lock(s.mutex);
    // Another window or the command-line tool may have added words meanwhile.
    std::vector<std::string> lines;
    readLines(s.personalFile, lines);
    std::vector<std::string> words;
    for (const std::string& line : lines) words.push_back(trimControls(line));
    if (std::find(words.begin(), words.end(), word) == words.end()) {
        lines.emplace_back(word);
        words.emplace_back(word);
        std::error_code ec;
        std::filesystem::create_directories(folderPart(s.personalFile), ec);
        if (ec) return {false, "cannot make the folder of " + s.personalFile + ": " + ec.message()};
        WriteResult written = writeFileAtomic(s.personalFile, joinCrLf(lines));
        if (!written) return written;
    }
    bool added = false;
    for (std::string& w : words) added = s.addPersonal(std::move(w)) || added;
    if (added) s.accepted();
    return {true, {}};
}

std::vector<std::string> SpellChecker::personalWords() const
{
    const std::lock_guard lock(state_->mutex);
    return state_->personalOrder;
}

std::size_t SpellChecker::cachedTexts() const
{
    const std::lock_guard lock(state_->mutex);
    return state_->texts.size();
}

void SpellChecker::clearCache()
{
    const std::lock_guard lock(state_->mutex);
    state_->words.clear();
    state_->texts.clear();
}

}  // namespace tov::spell
