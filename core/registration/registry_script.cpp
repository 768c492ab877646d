#include "core/registration/registry_script.h"

#include <utility>

namespace core {
namespace {

// Registration scripts nest a handful of keys; a limit keeps a malformed one from
// exhausting the stack.
constexpr int kMaxDepth = 32;

enum class TokenKind { kEnd, kOpen, kClose, kEquals, kWord, kQuoted, kBad };

struct Token {
    TokenKind kind = TokenKind::kEnd;
    std::u16string text;
};

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

char16_t AsciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// Keywords and root names are matched without regard to case, as registrars do.
bool IsWord(const Token& token, std::u16string_view word) {
    if (token.kind != TokenKind::kWord || token.text.size() != word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (AsciiLower(token.text[i]) != AsciiLower(word[i])) return false;
    }
    return true;
}

std::optional<RegistryRoot> RootOf(const Token& token) {
    static constexpr std::pair<std::u16string_view, RegistryRoot> kRoots[] = {
        {u"HKCR", RegistryRoot::kClassesRoot},  {u"HKEY_CLASSES_ROOT", RegistryRoot::kClassesRoot},
        {u"HKCU", RegistryRoot::kCurrentUser},  {u"HKEY_CURRENT_USER", RegistryRoot::kCurrentUser},
        {u"HKLM", RegistryRoot::kLocalMachine}, {u"HKEY_LOCAL_MACHINE", RegistryRoot::kLocalMachine},
        {u"HKU", RegistryRoot::kUsers},         {u"HKEY_USERS", RegistryRoot::kUsers},
    };
    for (const auto& [name, root] : kRoots) {
        if (IsWord(token, name)) return root;
    }
    return std::nullopt;
}

class Parser {
public:
    Parser(std::u16string_view text, std::span<const ScriptReplacement> replacements)
        : text_(text), replacements_(replacements) {}

    std::optional<std::vector<ScriptRoot>> Script() {
        std::vector<ScriptRoot> roots;
        for (Token token = Next(); token.kind != TokenKind::kEnd; token = Next()) {
            const std::optional<RegistryRoot> root = RootOf(token);
            if (!root || Next().kind != TokenKind::kOpen) return std::nullopt;
            ScriptRoot& added = roots.emplace_back(ScriptRoot{*root, {}});
            if (!Keys(added.keys, 1)) return std::nullopt;
        }
        return roots;
    }

private:
    // Tokens are separated by white space, as registrars read them, so that a braced class
    // identifier is one name; a quoted string may hold spaces.
    Token Next() {
        while (position_ < text_.size() && IsSpace(text_[position_])) ++position_;
        if (position_ == text_.size()) return {};
        if (text_[position_] == u'\'') return Quoted();
        const std::size_t start = position_;
        while (position_ < text_.size() && !IsSpace(text_[position_])) ++position_;
        const std::u16string_view word = text_.substr(start, position_ - start);
        if (word == u"{") return {TokenKind::kOpen, {}};
        if (word == u"}") return {TokenKind::kClose, {}};
        if (word == u"=") return {TokenKind::kEquals, {}};
        return {TokenKind::kWord, std::u16string(word)};
    }

    Token Quoted() {
        std::u16string text;
        for (++position_; position_ < text_.size(); ++position_) {
            if (text_[position_] != u'\'') {
                text += text_[position_];
                continue;
            }
            if (position_ + 1 < text_.size() && text_[position_ + 1] == u'\'') {
                text += u'\'';
                ++position_;
                continue;
            }
            ++position_;
            return {TokenKind::kQuoted, std::move(text)};
        }
        return {TokenKind::kBad, {}};
    }

    Token Peek() {
        const std::size_t saved = position_;
        Token token = Next();
        position_ = saved;
        return token;
    }

    // Keys up to the closing brace of the block they are in; "val" entries only inside a key.
    bool Keys(std::vector<ScriptKey>& keys, int depth, ScriptKey* owner = nullptr) {
        if (depth > kMaxDepth) return false;
        for (Token token = Next();; token = Next()) {
            if (token.kind == TokenKind::kClose) return true;
            if (IsWord(token, u"val")) {
                if (!owner || !Value(*owner)) return false;
                continue;
            }
            std::optional<ScriptKey> key = Key(std::move(token), depth);
            if (!key) return false;
            keys.push_back(std::move(*key));
        }
    }

    std::optional<ScriptKey> Key(Token token, int depth) {
        ScriptKey key;
        if (IsWord(token, u"NoRemove") || IsWord(token, u"ForceRemove")) {
            key.flag = IsWord(token, u"NoRemove") ? KeyFlag::kNoRemove : KeyFlag::kForceRemove;
            token = Next();
        }
        std::optional<std::u16string> name = Name(token);
        if (!name || name->empty()) return std::nullopt;
        key.name = std::move(*name);
        if (Peek().kind == TokenKind::kEquals) {
            Next();
            key.defaultValue = StringValue();
            if (!key.defaultValue) return std::nullopt;
        }
        if (Peek().kind == TokenKind::kOpen) {
            Next();
            if (!Keys(key.subKeys, depth + 1, &key)) return std::nullopt;
        }
        return key;
    }

    bool Value(ScriptKey& key) {
        std::optional<std::u16string> name = Name(Next());
        if (!name || Next().kind != TokenKind::kEquals) return false;
        std::optional<std::u16string> text = StringValue();
        if (!text) return false;
        key.values.push_back({std::move(*name), std::move(*text)});
        return true;
    }

    // "s" and a quoted string.
    std::optional<std::u16string> StringValue() {
        if (!IsWord(Next(), u"s")) return std::nullopt;
        const Token token = Next();
        if (token.kind != TokenKind::kQuoted) return std::nullopt;
        return Substituted(token.text);
    }

    std::optional<std::u16string> Name(const Token& token) {
        if (token.kind != TokenKind::kWord && token.kind != TokenKind::kQuoted) return std::nullopt;
        return Substituted(token.text);
    }

    std::optional<std::u16string> Substituted(std::u16string_view text) const {
        std::u16string result;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] != u'%') {
                result += text[i];
                continue;
            }
            const std::size_t end = text.find(u'%', i + 1);
            if (end == std::u16string_view::npos) return std::nullopt;
            const std::optional<std::u16string_view> value = Replacement(text.substr(i + 1, end - i - 1));
            if (!value) return std::nullopt;
            result += *value;
            i = end;
        }
        return result;
    }

    std::optional<std::u16string_view> Replacement(std::u16string_view name) const {
        if (name.empty()) return u"%";
        for (const ScriptReplacement& replacement : replacements_) {
            if (replacement.name == name) return replacement.value;
        }
        return std::nullopt;
    }

    std::u16string_view text_;
    std::span<const ScriptReplacement> replacements_;
    std::size_t position_ = 0;
};

}  // namespace

std::optional<std::vector<ScriptRoot>> ParseRegistryScript(std::u16string_view text,
                                                           std::span<const ScriptReplacement> replacements) {
    return Parser(text, replacements).Script();
}

}  // namespace core
