#include "core/replace.h"

#include "core/text.h"

#include <algorithm>

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The text still to scan, kept reversed so that its front is the string's
// back: a replacement is put in front by appending it reversed, and what the
// scan passes is taken off the back, each in time proportional to its size.
class Pending {
public:
    explicit Pending(std::string_view text) : reversed_(text.rbegin(), text.rend()) {}

    bool Empty() const { return reversed_.empty(); }
    char Front(size_t i) const { return reversed_[reversed_.size() - 1 - i]; }
    size_t Size() const { return reversed_.size(); }

    // Byte length of the first `count` characters (each one byte and the
    // continuation bytes after it, as Mid counts them), or a length past
    // `limit` once it is sure to exceed it.
    size_t CharactersLength(int32_t count, size_t limit) const {
        size_t length = 0;
        for (; count > 0 && length < Size() && length <= limit; --count) {
            ++length;
            while (length < Size() && length <= limit && IsContinuationByte(Front(length))) ++length;
        }
        return length;
    }

    bool StartsWith(std::string_view bytes, size_t length) const {
        if (length != bytes.size()) return false;
        for (size_t i = 0; i < length; ++i)
            if (Front(i) != bytes[i]) return false;
        return true;
    }

    void Replace(size_t length, std::string_view replacement) {
        reversed_.resize(reversed_.size() - length);
        reversed_.append(replacement.rbegin(), replacement.rend());
    }

    // Moves the next character to `out`: one byte and the continuation
    // bytes after it.
    void MoveCharacter(std::string& out) {
        if (Empty()) return;
        MoveByte(out);
        MoveContinuationBytes(out);
    }

    void MoveContinuationBytes(std::string& out) {
        while (!Empty() && IsContinuationByte(Front(0))) MoveByte(out);
    }

    void MoveByte(std::string& out) {
        out += reversed_.back();
        reversed_.pop_back();
    }

    void AppendTo(std::string& out) const { out.append(reversed_.rbegin(), reversed_.rend()); }

private:
    std::string reversed_;
};

}  // namespace

std::string RemplaceCar(std::string_view text, std::string_view search, std::string_view replacement) {
    const int32_t at = InStr(text, search);
    if (at == 0 || search.empty()) return std::string(text);
    return Left(text, at - 1) + std::string(replacement) + Mid(text, at + Len(search));
}

// The scan tests position p of the text as it stands after the replacements
// so far. Everything before p is final, so it goes to `done`; the rest is
// pending. A character is a byte and the continuation bytes after it, the
// first byte of the text always starting one; continuation bytes that a
// replacement brings right after `done` belong to its last character.
std::string Remplace(std::string_view text, std::string_view search, std::string_view replacement) {
    const int32_t scanned = Len(text);
    const int32_t searchLength = Len(search);
    if (searchLength == 0) return std::string(text);
    std::string done;
    Pending pending(text);
    for (int32_t p = 1; p <= scanned && !pending.Empty(); ++p) {
        const size_t length = pending.CharactersLength(searchLength, search.size());
        if (pending.StartsWith(search, length)) pending.Replace(length, replacement);
        if (!done.empty()) pending.MoveContinuationBytes(done);
        pending.MoveCharacter(done);
    }
    pending.AppendTo(done);
    return done;
}
