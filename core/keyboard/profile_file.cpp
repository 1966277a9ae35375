#include "core/keyboard/profile_file.h"

#include <cstdint>
#include <vector>

namespace lex::keyboard {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

// One line of the file as the profile rules see it.
struct Line {
    std::string text;        // the line as stored, terminator included
    enum Kind { Blank, Section, Key } kind = Blank;
    std::string name;        // section or key name
    bool hasValue = false;   // a key line with "="
    std::string value;       // blanks around it removed
};

Line TextLine(const std::string& text) {
    Line line;
    line.text = text;
    return line;
}

std::vector<Line> Parse(const std::string& content) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < content.size()) {
        size_t end = content.find('\n', pos);
        end = end == std::string::npos ? content.size() : end + 1;
        Line line;
        line.text = content.substr(pos, end - pos);
        pos = end;
        const std::string body = Trim(line.text);
        if (body.empty()) {
            lines.push_back(line);
            continue;
        }
        if (body[0] == '[') {
            size_t close = body.rfind(']');
            if (close != std::string::npos) {
                line.kind = Line::Section;
                line.name = body.substr(1, close - 1);
                lines.push_back(line);
                continue;
            }
        }
        line.kind = Line::Key;
        size_t eq = body.find('=');
        if (eq == std::string::npos) {
            line.name = body;
        } else {
            line.name = Trim(body.substr(0, eq));
            line.hasValue = true;
            line.value = Trim(body.substr(eq + 1));
        }
        lines.push_back(line);
    }
    return lines;
}

// Index of the first section line named `section`, or lines.size().
size_t FindSection(const std::vector<Line>& lines, const std::string& section) {
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].kind == Line::Section && SameName(lines[i].name, section)) return i;
    return lines.size();
}

// The value as a profile read copies it into a buffer of `size` bytes.
std::string CopyEntry(const std::string& value, int size) {
    if (size <= 0) return std::string();
    std::string v = value;
    bool quoted = v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0];
    if (quoted) v = v.substr(1, v.size() - 2);
    if (v.size() > static_cast<size_t>(size - 1)) v.resize(static_cast<size_t>(size - 1));
    return v;
}

bool HasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

}  // namespace

int ProfileFile::GetInt(const std::string& section, const std::string& key, int fallback) {
    const std::string text = GetString(section, key, "", 30);
    if (text.empty()) return fallback;
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    uint32_t n = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        n = n * 10u + static_cast<uint32_t>(text[i] - '0');
    if (negative) n = 0u - n;
    return static_cast<int>(static_cast<int32_t>(n));
}

std::vector<std::string> ProfileFile::GetStrings(const std::string& section, const std::vector<std::string>& keys,
                                                 const std::string& fallback, int size) {
    std::vector<std::string> values;
    for (const std::string& key : keys) values.push_back(GetString(section, key, fallback, size));
    return values;
}

namespace {

std::string Lookup(const std::vector<Line>& lines, const std::string& section, const std::string& key,
                   const std::string& fallback, int size) {
    const std::string wantKey = Trim(key);
    for (size_t i = FindSection(lines, Trim(section)) + 1; i < lines.size(); ++i) {
        if (lines[i].kind == Line::Section) break;
        if (lines[i].kind == Line::Key && SameName(lines[i].name, wantKey))
            return CopyEntry(lines[i].hasValue ? lines[i].value : fallback, size);
    }
    return CopyEntry(fallback, size);
}

}  // namespace

struct TextProfileFile::Kept {
    bool read = false;
    std::string content;
    std::vector<Line> lines;
};

void TextProfileFile::KeepContents() {
    if (!kept_) kept_ = std::make_shared<Kept>();
}

std::string TextProfileFile::GetString(const std::string& section, const std::string& key,
                                       const std::string& fallback, int size) {
    return GetStrings(section, {key}, fallback, size)[0];
}

std::vector<std::string> TextProfileFile::GetStrings(const std::string& section, const std::vector<std::string>& keys,
                                                     const std::string& fallback, int size) {
    std::string content;
    std::vector<Line> read;
    const bool kept = kept_ && kept_->read;
    if (!kept) {
        const lex::ReadOutcome outcome = lex::ReadWholeFile(files_, path_, content);
        if (outcome == lex::ReadOutcome::Whole) read = Parse(content);
        // Only a file read whole, or one that is not there, is kept: one that
        // cannot be read is tried again (and never written over).
        if (kept_ && (outcome == lex::ReadOutcome::Whole || outcome == lex::ReadOutcome::Missing)) {
            kept_->content.swap(content);
            kept_->lines.swap(read);
            kept_->read = true;
        }
    }
    const std::vector<Line>& lines = kept_ && kept_->read ? kept_->lines : read;
    std::vector<std::string> values;
    for (const std::string& key : keys) values.push_back(Lookup(lines, section, key, fallback, size));
    return values;
}

bool TextProfileFile::WriteString(const std::string& section, const std::string& key,
                                  const std::string& value) {
    const std::string wantSection = Trim(section), wantKey = Trim(key);
    if (wantSection.empty() || wantKey.empty() || HasLineBreak(section) || HasLineBreak(key) ||
        HasLineBreak(value) || wantSection.find(']') != std::string::npos ||
        wantKey.find('=') != std::string::npos || wantKey[0] == '[')
        return false;
    std::string content;
    std::vector<Line> lines;
    if (kept_ && kept_->read) {
        content = kept_->content;
        lines = kept_->lines;
    } else {
        // A file that is there but cannot be read is not written over.
        const lex::ReadOutcome read = lex::ReadWholeFile(files_, path_, content);
        if (read != lex::ReadOutcome::Whole && read != lex::ReadOutcome::Missing) return false;
        lines = Parse(content);
    }
    // New lines end like the file's first line, CR LF when there is none.
    const std::string newline =
        (content.find('\n') != std::string::npos && content.find("\r\n") == std::string::npos) ? "\n"
                                                                                                : "\r\n";
    auto terminate = [&](Line& line) {
        if (line.text.empty() || line.text.back() != '\n') line.text += newline;
    };
    Line entry;
    entry.text = wantKey + "=" + value + newline;

    const size_t s = FindSection(lines, wantSection);
    if (s == lines.size()) {
        if (!lines.empty()) {
            terminate(lines.back());
            if (lines.back().kind != Line::Blank) lines.push_back(TextLine(newline));
        }
        lines.push_back(TextLine("[" + wantSection + "]" + newline));
        lines.push_back(entry);
    } else {
        size_t last = s;  // last non-blank line of the section
        bool replaced = false;
        for (size_t i = s + 1; i < lines.size() && lines[i].kind != Line::Section; ++i) {
            if (lines[i].kind == Line::Blank) continue;
            if (SameName(lines[i].name, wantKey)) {
                const std::string& was = lines[i].text;
                size_t body = was.size();
                while (body > 0 && (was[body - 1] == '\n' || was[body - 1] == '\r')) --body;
                const std::string end = was.substr(body);
                lines[i].text = lines[i].name + "=" + value + end;
                replaced = true;
                break;
            }
            last = i;
        }
        if (!replaced) {
            terminate(lines[last]);
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last + 1), entry);
        }
    }
    std::string out;
    for (const Line& line : lines) out += line.text;
    if (lex::WriteFileReplacing(files_, path_, out) != lex::WriteOutcome::Done) return false;
    if (kept_) {
        kept_->lines = Parse(out);
        kept_->content.swap(out);
        kept_->read = true;
    }
    return true;
}

}  // namespace lex::keyboard
