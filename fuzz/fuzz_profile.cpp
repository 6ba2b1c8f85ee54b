// Arbitrary bytes as an INI file, then a short script of reads, writes and
// deletions drawn from the end of the input. Checks that the file round-trips
// byte for byte, that each edit touches only the lines it should, and that
// the edited document answers like its own bytes read afresh.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/profile.h"

namespace {

void check(bool ok)
{
    if (!ok) std::abort();
}

bool blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0x0B || c == 0x0C || c == 0x1A;
}

std::string trim(std::string s)
{
    size_t b = 0, e = s.size();
    while (b < e && blank(s[b])) ++b;
    while (e > b && blank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

std::string firstLine(const std::string& s)
{
    return s.substr(0, s.find_first_of("\r\n"));
}

std::string expectedRead(const std::string& value)
{
    std::string v = trim(firstLine(value));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

bool endsWithLineEnd(const std::string& s)
{
    return !s.empty() && (s.back() == '\n' || s.back() == '\r');
}

// Lines with their own line ends (CR LF, LF or a lone CR).
std::vector<std::string> splitKeepingEnds(const std::string& s)
{
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos < s.size()) {
        size_t e = pos;
        while (e < s.size() && s[e] != '\r' && s[e] != '\n') ++e;
        size_t next = e;
        if (e < s.size()) next = (s[e] == '\r' && e + 1 < s.size() && s[e + 1] == '\n') ? e + 2 : e + 1;
        out.push_back(s.substr(pos, next - pos));
        pos = next;
    }
    return out;
}

// Pieces of a file each ending after a CR or an LF (a CR LF makes two). A
// line of the document ending in a lone CR followed by one that is a lone LF
// reads as one CR LF line, yet stays two lines of the document (after a line
// between them was removed), so edits are compared as bytes, at the offsets
// where pieces end.
std::vector<size_t> pieceEnds(const std::string& s)
{
    std::vector<size_t> ends{0};
    for (size_t i = 0; i < s.size(); ++i)
        if (s[i] == '\r' || s[i] == '\n' || i + 1 == s.size()) ends.push_back(i + 1);
    return ends;
}

// `after` is `before` with `inserted` added at offset `at`, the bytes of
// `gap` (a CR LF or nothing) ahead of it.
bool insertedAt(const std::string& before, const std::string& after, size_t at, const std::string& gap,
                const std::string& inserted)
{
    return after.size() == before.size() + gap.size() + inserted.size() && after.compare(0, at, before, 0, at) == 0 &&
           after.compare(at, gap.size(), gap) == 0 && after.compare(at + gap.size(), inserted.size(), inserted) == 0 &&
           after.compare(at + gap.size() + inserted.size(), std::string::npos, before, at, std::string::npos) == 0;
}

// `after` is `before` with exactly the line `inserted` added after a piece
// (the line it follows may have gained a CR LF).
bool isInsertion(const std::string& before, const std::string& after, const std::string& inserted)
{
    for (size_t at : pieceEnds(before)) {
        if (insertedAt(before, after, at, "", inserted)) return true;
        if (at > 0 && !endsWithLineEnd(before.substr(0, at)) && insertedAt(before, after, at, "\r\n", inserted))
            return true;
    }
    return false;
}

// `after` is `before` with exactly one line removed: one piece, or a piece
// ending in CR with the lone LF after it.
bool isOneLineRemoved(const std::string& before, const std::string& after)
{
    const std::vector<size_t> ends = pieceEnds(before);
    const auto removed = [&](size_t from, size_t to) {
        return after.size() + (to - from) == before.size() && after.compare(0, from, before, 0, from) == 0 &&
               after.compare(from, std::string::npos, before, to, std::string::npos) == 0;
    };
    for (size_t j = 0; j + 1 < ends.size(); ++j) {
        if (removed(ends[j], ends[j + 1])) return true;
        if (j + 2 < ends.size() && before[ends[j + 1] - 1] == '\r' && ends[j + 2] - ends[j + 1] == 1 &&
            before[ends[j + 1]] == '\n' && removed(ends[j], ends[j + 2]))
            return true;
    }
    return false;
}

// `after` is `before` with some pieces removed.
bool isLinesRemoved(const std::string& before, const std::string& after)
{
    const std::vector<size_t> ends = pieceEnds(before);
    std::vector<bool> reach(after.size() + 1, false);  // prefixes of `after` made of kept pieces
    reach[0] = true;
    for (size_t j = 0; j + 1 < ends.size(); ++j) {
        const size_t len = ends[j + 1] - ends[j];
        for (size_t p = after.size() + 1; p-- > 0;)
            if (reach[p] && p + len <= after.size() && after.compare(p, len, before, ends[j], len) == 0)
                reach[p + len] = true;
    }
    return reach[after.size()];
}

void checkConsistent(const tov::IniDocument& doc)
{
    const tov::IniDocument reread = tov::IniDocument::fromBytes(doc.toBytes());
    check(reread.toBytes() == doc.toBytes());
    check(reread.sections() == doc.sections());
    for (const auto& s : reread.sections()) {
        const auto keys = reread.keys(s);
        check(keys == doc.keys(s));
        for (const auto& k : keys) check(reread.read(s, k, "\x01") == doc.read(s, k, "\x01"));
    }
}

const char* const kSections[] = {"s", "files", "POL", "", "\xB9\xEA", " S "};
const char* const kKeys[] = {"k", "12i", "fm", "", "\xA3"};
const std::string kValues[] = {"v", "", "  padded  ", "\"quoted\"", "'x\"", "a=b;c", "\xFF\x80\x81",
                               "cut\r\nhere=1", "x\ny", std::string(300, 'L')};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const int ops = in.ConsumeIntegralInRange(0, 8);
    std::vector<std::uint32_t> script;
    for (int i = 0; i < ops * 4; ++i) script.push_back(in.ConsumeIntegral<std::uint32_t>());
    const std::string file = in.ConsumeRemainingBytesAsString();

    tov::IniDocument doc = tov::IniDocument::fromBytes(file);
    check(doc.toBytes() == file);
    for (const auto& s : doc.sections())
        for (const auto& k : doc.keys(s)) check(doc.hasKey(s, k));

    for (int i = 0; i < ops; ++i) {
        const std::uint32_t op = script[i * 4] % 4;
        const std::uint32_t pickS = script[i * 4 + 1], pickK = script[i * 4 + 2], pickV = script[i * 4 + 3];
        const auto names = doc.sections();
        const size_t nFixedS = std::size(kSections);
        const std::string sec = (pickS % 2 && !names.empty()) ? names[pickS / 2 % names.size()]
                                                               : trim(kSections[pickS / 2 % nFixedS]);
        const auto keys = doc.keys(sec);
        const std::string key = (pickK % 2 && !keys.empty()) ? keys[pickK / 2 % keys.size()]
                                                              : std::string(kKeys[pickK / 2 % std::size(kKeys)]);
        const std::string value = kValues[pickV % std::size(kValues)];

        const std::string before = doc.toBytes();
        const auto linesBefore = splitKeepingEnds(before);
        const bool hadSection = doc.hasSection(sec), hadKey = doc.hasKey(sec, key);
        switch (op) {
        case 0: {
            doc.write(sec, key, value);
            const std::string after = doc.toBytes();
            const auto linesAfter = splitKeepingEnds(after);
            if (hadKey) {
                check(linesAfter.size() == linesBefore.size());
                size_t changed = 0;
                for (size_t j = 0; j < linesAfter.size(); ++j) changed += linesAfter[j] != linesBefore[j];
                check(changed <= 1);
            } else if (hadSection) {
                check(isInsertion(before, after, key + "=" + firstLine(value) + "\r\n"));
            } else {
                const std::string lead = before.empty() || endsWithLineEnd(before) ? before : before + "\r\n";
                check(after == lead + "[" + sec + "]\r\n" + key + "=" + firstLine(value) + "\r\n");
            }
            check(doc.read(sec, key, "\x01") == expectedRead(value));
            break;
        }
        case 1: {
            doc.deleteKey(sec, key);
            if (hadKey) {
                check(isOneLineRemoved(before, doc.toBytes()));
            } else {
                check(doc.toBytes() == before);
            }
            break;
        }
        case 2: {
            doc.deleteSection(sec);
            if (hadSection) {
                check(doc.toBytes().size() < before.size());
                check(isLinesRemoved(before, doc.toBytes()));
            } else {
                check(doc.toBytes() == before);
            }
            break;
        }
        default: {
            const std::string v = doc.read(sec, key, "\x01");
            check(hadKey == doc.hasKey(sec, key));
            if (!hadKey) check(v == "\x01");
            break;
        }
        }
    }
    checkConsistent(doc);
    return 0;
}
