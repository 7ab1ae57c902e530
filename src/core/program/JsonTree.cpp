#include "program/JsonTree.h"

#include <rapidjson/error/error.h>
#include <rapidjson/reader.h>

#include <charconv>
#include <cstdint>
#include <utility>

namespace {

// Reads the text for RapidJSON and counts its lines.
class LineCountingStream {
public:
    using Ch = char;

    explicit LineCountingStream(std::string_view text)
        : text_(text)
    {
    }
    Ch Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
    Ch Take()
    {
        if (at_ >= text_.size()) {
            return '\0';
        }
        const Ch taken = text_[at_++];
        line_ += taken == '\n' ? 1 : 0;
        return taken;
    }
    std::size_t Tell() const { return at_; }
    int line() const { return line_; }

    // Writing is for parsing in place, which is not used.
    static Ch* PutBegin() { return nullptr; }
    static void Put(Ch /*unused*/) { }
    static void Flush() { }
    static std::size_t PutEnd(const Ch* /*unused*/) { return 0; }

private:
    std::string_view text_;
    std::size_t at_ = 0;
    int line_ = 1;
};

// Builds the tree from the reader's events without recursion: the values
// still open wait on a stack of their own, bounded in depth.
class TreeBuilder {
public:
    TreeBuilder(const LineCountingStream& stream, int maxDepth, Phrase tooDeep)
        : stream_(stream)
        , maxDepth_(static_cast<std::size_t>(maxDepth))
        , tooDeep_(std::move(tooDeep))
    {
    }

    bool Null() { return add(value(JsonValue::Kind::Null)); }
    bool Bool(bool boolean)
    {
        JsonValue made = value(JsonValue::Kind::Bool);
        made.boolean = boolean;
        return add(std::move(made));
    }
    // Numbers come as their text, which from_chars rounds exactly: RapidJSON
    // 1.1.0's own conversion takes the count of leading zeros of zero at
    // "0e44". The reader asks for the others all the same.
    bool RawNumber(const char* text, rapidjson::SizeType length, bool /*copy*/)
    {
        JsonValue made = value(JsonValue::Kind::Number);
        const std::string_view number(text, length);
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), made.number);
        if (error != std::errc{} || end != number.data() + number.size()) {
            problem_ = Phrase::translate("JsonTree", "число не умещается в double");
            return false;
        }
        made.integral = number.find_first_of(".eE") == std::string_view::npos;
        return add(std::move(made));
    }
    static bool Int(int /*unused*/) { return false; }
    static bool Uint(unsigned /*unused*/) { return false; }
    static bool Int64(std::int64_t /*unused*/) { return false; }
    static bool Uint64(std::uint64_t /*unused*/) { return false; }
    static bool Double(double /*unused*/) { return false; }
    bool String(const char* text, rapidjson::SizeType length, bool /*copy*/)
    {
        JsonValue made = value(JsonValue::Kind::String);
        made.text.assign(text, length);
        return add(std::move(made));
    }
    bool Key(const char* text, rapidjson::SizeType length, bool /*copy*/)
    {
        key_.assign(text, length);
        keyLine_ = stream_.line();
        return true;
    }
    bool StartObject() { return open(JsonValue::Kind::Object); }
    bool EndObject(rapidjson::SizeType /*members*/) { return close(); }
    bool StartArray() { return open(JsonValue::Kind::Array); }
    bool EndArray(rapidjson::SizeType /*elements*/) { return close(); }

    JsonValue& root() { return root_; }
    // Why it stopped the reader, or empty.
    const Phrase& problem() const { return problem_; }

private:
    JsonValue value(JsonValue::Kind kind) const
    {
        JsonValue made;
        made.kind = kind;
        made.line = stream_.line();
        if (!open_.empty() && open_.back().kind == JsonValue::Kind::Object) {
            made.key = key_;
            made.keyLine = keyLine_;
        }
        return made;
    }
    bool add(JsonValue made)
    {
        if (open_.empty()) {
            root_ = std::move(made);
        } else {
            open_.back().items.push_back(std::move(made));
        }
        return true;
    }
    bool open(JsonValue::Kind kind)
    {
        if (open_.size() >= maxDepth_) {
            problem_ = tooDeep_;
            return false;
        }
        open_.push_back(value(kind));
        return true;
    }
    bool close()
    {
        JsonValue done = std::move(open_.back());
        open_.pop_back();
        return add(std::move(done));
    }

    const LineCountingStream& stream_;
    std::size_t maxDepth_;
    std::vector<JsonValue> open_;
    JsonValue root_;
    std::string key_;
    int keyLine_ = 0;
    Phrase tooDeep_;
    Phrase problem_;
};

Phrase syntaxProblem(rapidjson::ParseErrorCode code, std::string_view text, std::size_t offset)
{
    const char at = offset < text.size() ? text[offset] : '\0';
    if (code == rapidjson::kParseErrorStringEscapeInvalid && (at == '\n' || at == '\r')) {
        return Phrase::translate("JsonTree", "строка не закрыта кавычкой до конца строки");
    }
    if (code == rapidjson::kParseErrorStringEscapeInvalid && static_cast<unsigned char>(at) < 0x20) {
        return Phrase::translate("JsonTree", "управляющий символ в строке");
    }
    switch (code) {
    case rapidjson::kParseErrorDocumentEmpty:
        return Phrase::translate("JsonTree", "файл пуст");
    case rapidjson::kParseErrorDocumentRootNotSingular:
        return Phrase::translate("JsonTree", "после документа ещё что-то есть");
    case rapidjson::kParseErrorObjectMissName:
        return Phrase::translate("JsonTree", "ожидается ключ в кавычках");
    case rapidjson::kParseErrorObjectMissColon:
        return Phrase::translate("JsonTree", "после ключа нет двоеточия");
    case rapidjson::kParseErrorObjectMissCommaOrCurlyBracket:
        return Phrase::translate("JsonTree", "ожидается запятая или «}»");
    case rapidjson::kParseErrorArrayMissCommaOrSquareBracket:
        return Phrase::translate("JsonTree", "ожидается запятая или «]»");
    case rapidjson::kParseErrorStringMissQuotationMark:
        return Phrase::translate("JsonTree", "строка не закрыта кавычкой");
    case rapidjson::kParseErrorStringInvalidEncoding:
        return Phrase::translate("JsonTree", "текст не в UTF-8");
    case rapidjson::kParseErrorStringEscapeInvalid:
    case rapidjson::kParseErrorStringUnicodeEscapeInvalidHex:
    case rapidjson::kParseErrorStringUnicodeSurrogateInvalid:
        return Phrase::translate("JsonTree", "неверная escape-последовательность в строке");
    case rapidjson::kParseErrorNumberTooBig:
        return Phrase::translate("JsonTree", "число слишком велико");
    case rapidjson::kParseErrorNumberMissFraction:
    case rapidjson::kParseErrorNumberMissExponent:
        return Phrase::translate("JsonTree", "число записано не полностью");
    default:
        return Phrase::translate("JsonTree", "ошибка синтаксиса JSON");
    }
}

} // namespace

JsonTree::Parsed JsonTree::parse(std::string_view text, int maxDepth, const Phrase& tooDeep)
{
    constexpr unsigned kFlags = rapidjson::kParseIterativeFlag | rapidjson::kParseNumbersAsStringsFlag
        | rapidjson::kParseValidateEncodingFlag;
    LineCountingStream stream(text);
    TreeBuilder builder(stream, maxDepth, tooDeep);
    rapidjson::Reader reader;
    const rapidjson::ParseResult parsed = reader.Parse<kFlags>(stream, builder);
    if (!builder.problem().isEmpty()) {
        return {std::nullopt, stream.line(), builder.problem()};
    }
    if (parsed.IsError()) {
        return {std::nullopt, lineAt(text, parsed.Offset()), syntaxProblem(parsed.Code(), text, parsed.Offset())};
    }
    return {std::move(builder.root()), 0, {}};
}

int JsonTree::lineAt(std::string_view text, std::size_t offset)
{
    const auto end = text.begin() + static_cast<std::ptrdiff_t>(std::min(offset, text.size()));
    return 1 + static_cast<int>(std::count(text.begin(), end, '\n'));
}
