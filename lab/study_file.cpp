#include "lab/study_file.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "lab/lab_text.h"

namespace tarvel {
namespace {

// ---- Writing ----

std::string numberText(double value)
{
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::string(digits, end);
}

std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";  // a lesson's paragraphs stay legible in the file
        } else if (static_cast<unsigned char>(c) < 0x20) {
            constexpr char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[(c >> 4) & 0xF];
            out += kHex[c & 0xF];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string pairsText(const NodeList& nodes)
{
    std::string out = "[";
    for (std::size_t i = 0; i < nodes.size(); ++i)
        out += joined(
            {i == 0 ? "" : ", ", "[", numberText(nodes[i].x), ", ", numberText(nodes[i].y), "]"});
    return out + "]";
}

// A second panel's own choice by its key; null when it follows the first panel.
template <typename Id, std::size_t N>
std::string choiceText(const std::array<Named<Id>, N>& table, const std::optional<Id>& id)
{
    return id ? quoted(named(table, *id).key) : "null";
}

std::string panelChoiceText(const PanelChoice& choice)
{
    return joined({"{\"function\": ", choiceText(kLabFunctions, choice.function),
                   ", \"family\": ", choiceText(kNodeFamilies, choice.family),
                   ", \"view\": ", choiceText(kLabViews, choice.view), "}"});
}

// ---- Reading: JSON values, nested at most kDeepest levels ----

struct Json {
    enum class Kind { Null, Boolean, Number, Text, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<Json> items;  // of an array, or an object's values
    std::vector<std::string> names;  // of an object's values

    const Json* member(std::string_view key) const
    {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == key)
                return &items[i];
        return nullptr;
    }
};

struct Damage {
    std::string what;
};

class JsonReader {
public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    Json document()
    {
        Json value = read(0);
        skipBlanks();
        if (at_ != text_.size())
            fail("text after the end of the study");
        return value;
    }

private:
    static constexpr int kDeepest = 16;

    [[noreturn]] void fail(const std::string& what) const
    {
        throw Damage{what + " at byte " + std::to_string(at_ + 1)};
    }

    void skipBlanks()
    {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }

    bool take(std::string_view word)
    {
        if (text_.substr(at_, word.size()) != word)
            return false;
        at_ += word.size();
        return true;
    }

    Json read(int depth)
    {
        if (depth > kDeepest)
            fail("values nested too deep");
        skipBlanks();
        if (at_ >= text_.size())
            fail("the text ends before a value");
        Json value;
        const char c = text_[at_];
        if (c == '{') {
            value.kind = Json::Kind::Object;
            readList('}', [&] {
                skipBlanks();
                if (at_ >= text_.size() || text_[at_] != '"')
                    fail("a name in quotes expected");
                std::string name = readText();
                skipBlanks();
                if (!take(":"))
                    fail("':' expected");
                value.names.push_back(std::move(name));
                value.items.push_back(read(depth + 1));
            });
        } else if (c == '[') {
            value.kind = Json::Kind::Array;
            readList(']', [&] { value.items.push_back(read(depth + 1)); });
        } else if (c == '"') {
            value.kind = Json::Kind::Text;
            value.text = readText();
        } else if (take("true")) {
            value.kind = Json::Kind::Boolean;
            value.boolean = true;
        } else if (take("false")) {
            value.kind = Json::Kind::Boolean;
        } else if (take("null")) {
            value.kind = Json::Kind::Null;
        } else {
            value.kind = Json::Kind::Number;
            value.number = readNumber();
        }
        return value;
    }

    template <typename ReadOne> void readList(char close, ReadOne readOne)
    {
        ++at_;
        skipBlanks();
        if (take(std::string_view(&close, 1)))
            return;
        while (true) {
            readOne();
            skipBlanks();
            if (take(std::string_view(&close, 1)))
                return;
            if (!take(","))
                fail(std::string("',' or '") + close + "' expected");
        }
    }

    double readNumber()
    {
        const std::size_t start = at_;
        if (at_ < text_.size() && text_[at_] == '-')
            ++at_;
        const auto digits = [&] {
            const std::size_t from = at_;
            while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9')
                ++at_;
            return at_ > from;
        };
        if (!digits())
            fail("a value expected");
        if (take(".") && !digits())
            fail("digits expected after the decimal point");
        if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
            ++at_;
            if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-'))
                ++at_;
            if (!digits())
                fail("digits expected in the exponent");
        }
        double value = 0;
        const auto [end, error] = std::from_chars(text_.data() + start, text_.data() + at_, value,
                                                  std::chars_format::general);
        if (error != std::errc() || end != text_.data() + at_ || !std::isfinite(value))
            fail("a number beyond the range of numbers");
        return value;
    }

    unsigned hexDigits()
    {
        unsigned code = 0;
        for (int k = 0; k < 4; ++k, ++at_) {
            if (at_ >= text_.size())
                fail("the text ends inside an escape");
            const char h = text_[at_];
            const int digit = h >= '0' && h <= '9'   ? h - '0'
                              : h >= 'a' && h <= 'f' ? h - 'a' + 10
                              : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                     : -1;
            if (digit < 0)
                fail("a hexadecimal digit expected");
            code = code * 16 + static_cast<unsigned>(digit);
        }
        return code;
    }

    static std::optional<char> escaped(char e)
    {
        switch (e) {
        case '"':
            return '"';
        case '\\':
            return '\\';
        case '/':
            return '/';
        case 'b':
            return '\b';
        case 'f':
            return '\f';
        case 'n':
            return '\n';
        case 'r':
            return '\r';
        case 't':
            return '\t';
        default:
            return std::nullopt;
        }
    }

    static void appendUtf8(std::string& out, unsigned code)
    {
        const auto byte = [&](unsigned b) { out += static_cast<char>(b); };
        if (code < 0x80) {
            byte(code);
        } else if (code < 0x800) {
            byte(0xC0 | (code >> 6));
            byte(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            byte(0xE0 | (code >> 12));
            byte(0x80 | ((code >> 6) & 0x3F));
            byte(0x80 | (code & 0x3F));
        } else {
            byte(0xF0 | (code >> 18));
            byte(0x80 | ((code >> 12) & 0x3F));
            byte(0x80 | ((code >> 6) & 0x3F));
            byte(0x80 | (code & 0x3F));
        }
    }

    std::string readText()
    {
        ++at_;
        std::string out;
        while (true) {
            if (at_ >= text_.size())
                fail("the text ends inside quotes");
            const char c = text_[at_++];
            if (c == '"')
                return out;
            if (static_cast<unsigned char>(c) < 0x20)
                fail("a control character inside quotes");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= text_.size())
                fail("the text ends inside an escape");
            const char e = text_[at_++];
            if (const std::optional<char> plain = escaped(e)) {
                out += *plain;
            } else if (e == 'u') {
                unsigned code = hexDigits();
                if (code >= 0xD800 && code < 0xDC00 && take("\\u")) {
                    const unsigned low = hexDigits();
                    if (low < 0xDC00 || low >= 0xE000)
                        fail("a broken surrogate pair");
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                } else if (code >= 0xD800 && code < 0xE000) {
                    fail("a broken surrogate pair");
                }
                appendUtf8(out, code);
            } else {
                fail("an unknown escape");
            }
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

// ---- Reading: the study from the JSON values ----

// The seeds the lab draws have six digits; a study may hold any up to these.
constexpr int kLargestNoiseSeed = 999999;

struct OutOfRange {
    std::string what;
};

const Json& required(const Json& object, std::string_view key, Json::Kind kind)
{
    const Json* value = object.member(key);
    if (!value)
        throw Damage{joined({"\"", key, "\" is missing"})};
    if (value->kind != kind)
        throw Damage{joined({"\"", key, "\" is not of its kind"})};
    return *value;
}

const Json* optional(const Json& object, std::string_view key, Json::Kind kind)
{
    const Json* value = object.member(key);
    if (!value || value->kind == Json::Kind::Null)
        return nullptr;
    if (value->kind != kind)
        throw Damage{joined({"\"", key, "\" is not of its kind"})};
    return value;
}

int wholeNumber(const Json& object, std::string_view key, int lo, int hi)
{
    const double value = required(object, key, Json::Kind::Number).number;
    if (!(value >= lo && value <= hi) || value != std::floor(value))
        throw OutOfRange{
            joined({"\"", key, "\" is ", numberText(value), "; it must be a whole number from ",
                    std::to_string(lo), " to ", std::to_string(hi)})};
    return static_cast<int>(value);
}

template <typename Id, std::size_t N>
Id keyOf(const Json& object, std::string_view key, const std::array<Named<Id>, N>& table)
{
    const std::string& text = required(object, key, Json::Kind::Text).text;
    if (const std::optional<Id> id = byKey(table, text))
        return *id;
    throw OutOfRange{joined({"\"", key, "\" is \"", text, "\", which this lab does not know"})};
}

NodeList pairsOf(const Json& array, std::string_view key)
{
    NodeList nodes;
    for (const Json& pair : array.items) {
        if (pair.kind != Json::Kind::Array || pair.items.size() != 2 ||
            pair.items[0].kind != Json::Kind::Number || pair.items[1].kind != Json::Kind::Number)
            throw Damage{joined({"\"", key, "\" holds an entry that is not a pair of numbers"})};
        nodes.push_back({pair.items[0].number, pair.items[1].number});
    }
    if (nodes.size() > static_cast<std::size_t>(kLabMaxCount))
        throw OutOfRange{joined({"\"", key, "\" holds ", std::to_string(nodes.size()),
                                 " nodes; at most 1001 are taken"})};
    return nodes;
}

template <typename Id, std::size_t N>
std::optional<Id> optionalKeyOf(const Json& object, std::string_view key,
                                const std::array<Named<Id>, N>& table)
{
    if (!optional(object, key, Json::Kind::Text))
        return std::nullopt;
    return keyOf(object, key, table);
}

PanelChoice panelChoiceFrom(const Json& panel)
{
    PanelChoice choice;
    choice.function = optionalKeyOf(panel, "function", kLabFunctions);
    choice.family = optionalKeyOf(panel, "family", kNodeFamilies);
    choice.view = optionalKeyOf(panel, "view", kLabViews);
    return choice;
}

Study studyFrom(const Json& root)
{
    if (root.kind != Json::Kind::Object)
        throw Damage{"the study is not a JSON object"};
    const Json* format = root.member("format");
    if (!format || format->kind != Json::Kind::Text || format->text != "tarvel-study")
        throw Damage{"it is not a Tarvel study (no \"format\": \"tarvel-study\")"};
    const double version = required(root, "version", Json::Kind::Number).number;
    if (version > kStudyFileVersion)
        throw OutOfRange{
            joined({"it was written by a newer Tarvel (version ", numberText(version),
                    "); this one reads versions up to ", std::to_string(kStudyFileVersion)})};
    wholeNumber(root, "version", 1, kStudyFileVersion);

    Study study;
    LabSettings& s = study.start.settings;
    s.function = keyOf(root, "function", kLabFunctions);
    s.family = keyOf(root, "family", kNodeFamilies);
    s.view = keyOf(root, "view", kLabViews);
    s.count = wholeNumber(root, "count", kLabMinCount, kLabMaxCount);
    s.parameters.set(StudyMethod::Local, wholeNumber(root, "degree", 0, kLabMaxDegree));
    // Each method's parameter by its key, the local degree among them (a
    // file without them keeps the defaults beside "degree").
    if (const Json* parameters = optional(root, "parameters", Json::Kind::Object))
        for (const StudyMethodRow& row : methodRows())
            if (row.parameter && parameters->member(row.key))
                s.parameters.set(row.method, wholeNumber(*parameters, row.key, row.parameter->low,
                                                         row.parameter->high));
    if (optional(root, "globalForm", Json::Kind::Text))
        s.parameters.globalForm = keyOf(root, "globalForm", kGlobalForms);
    if (optional(root, "pickedNode", Json::Kind::Number))
        s.pickedNode = static_cast<std::size_t>(wholeNumber(root, "pickedNode", 0, kLabMaxCount - 1));
    if (const Json* own = optional(root, "ownNodes", Json::Kind::Boolean))
        s.ownNodes = own->boolean;
    if (const Json* noise = optional(root, "noise", Json::Kind::Number)) {
        if (!noiseLevelIndex(noise->number))
            throw OutOfRange{joined({"\"noise\" is ", numberText(noise->number),
                                     "; it must be 0 or a decade from 1e-15 to 1e-2"})};
        s.noise = noise->number;
    }
    if (optional(root, "noiseSeed", Json::Kind::Number))
        s.noiseSeed = static_cast<std::uint64_t>(wholeNumber(root, "noiseSeed", 0, kLargestNoiseSeed));
    for (const Json& method : required(root, "methods", Json::Kind::Array).items) {
        const std::optional<StudyMethod> id =
            method.kind == Json::Kind::Text ? studyMethodFromKey(method.text) : std::nullopt;
        if (!id)
            throw OutOfRange{"\"methods\" names a method this lab does not know"};
        s.shown[methodIndex(*id)] = true;
    }
    if (const Json* polynomial = optional(root, "polynomial", Json::Kind::Object)) {
        study.start.polynomial.degree = required(*polynomial, "degree", Json::Kind::Number).number;
        const std::vector<Json>& coefs =
            required(*polynomial, "coefficients", Json::Kind::Array).items;
        for (std::size_t k = 0; k < coefs.size() && k < study.start.polynomial.coefs.size(); ++k) {
            if (coefs[k].kind != Json::Kind::Number)
                throw Damage{"a coefficient of \"polynomial\" is not a number"};
            study.start.polynomial.coefs[k] = coefs[k].number;
        }
    }
    if (const Json* typed = optional(root, "expression", Json::Kind::Text)) {
        ExpressionParse parse = parseExpression(typed->text);
        if (!parse.expression)
            throw OutOfRange{"its function is refused: " + parse.refusal};
        study.start.expression = std::move(parse.expression);
    }
    if (s.function == LabFunction::Expression && !study.start.expression)
        throw Damage{"\"expression\" is missing"};
    study.nodes = pairsOf(required(root, "nodes", Json::Kind::Array), "nodes");
    if (const Json* data = optional(root, "data", Json::Kind::Array))
        study.start.data = pairsOf(*data, "data");
    if (s.ownNodes)
        for (const Node& node : study.nodes)
            study.start.ownXs.push_back(node.x);
    if (const Json* zoom = optional(root, "zoom", Json::Kind::Object)) {
        WorldRect world;
        world.left = required(*zoom, "left", Json::Kind::Number).number;
        world.right = required(*zoom, "right", Json::Kind::Number).number;
        world.bottom = required(*zoom, "bottom", Json::Kind::Number).number;
        world.top = required(*zoom, "top", Json::Kind::Number).number;
        if (!(world.left < world.right) || !(world.bottom < world.top))
            throw OutOfRange{"\"zoom\" is not a rectangle"};
        study.zoom = world;
    }
    if (const Json* title = optional(root, "title", Json::Kind::Text))
        study.title = title->text;
    if (const Json* split = optional(root, "split", Json::Kind::Boolean))
        study.split = split->boolean;
    if (const Json* link = optional(root, "linkAxes", Json::Kind::Boolean))
        study.linkAxes = link->boolean;
    if (const Json* panel2 = optional(root, "panel2", Json::Kind::Object))
        study.panel2 = panelChoiceFrom(*panel2);
    if (const Json* lesson = optional(root, "lesson", Json::Kind::Object))
        study.lesson = Lesson{required(*lesson, "title", Json::Kind::Text).text,
                              required(*lesson, "look", Json::Kind::Text).text,
                              required(*lesson, "question", Json::Kind::Text).text,
                              required(*lesson, "answer", Json::Kind::Text).text};
    return study;
}

}  // namespace

Study studyOf(const LabModel& model)
{
    Study study;
    study.start.settings = model.settings();
    study.start.polynomial = model.polynomial();
    study.start.expression = model.expression();
    study.start.data = model.data();
    study.nodes = model.nodes();
    return study;
}

std::string studyFileText(const Study& study)
{
    const LabSettings& s = study.start.settings;
    std::string methods;
    for (const StudyMethod method : kStudyMethods)
        if (s.shown[methodIndex(method)])
            methods += joined({methods.empty() ? "" : ", ", quoted(studyMethodKey(method))});
    std::string coefficients;
    for (const double a : study.start.polynomial.coefs)
        coefficients += joined({coefficients.empty() ? "" : ", ", numberText(a)});
    std::string text = "{\n";
    const auto line = [&](std::string_view key, const std::string& value, bool last = false) {
        text += joined({"  ", quoted(key), ": ", value, last ? "\n" : ",\n"});
    };
    line("format", quoted("tarvel-study"));
    line("version", std::to_string(kStudyFileVersion));
    line("function", quoted(named(kLabFunctions, s.function).key));
    if (study.start.expression)
        line("expression", quoted(study.start.expression->text()));
    line("polynomial", joined({"{\"degree\": ", numberText(study.start.polynomial.degree),
                               ", \"coefficients\": [", coefficients, "]}"}));
    line("family", quoted(named(kNodeFamilies, s.family).key));
    line("ownNodes", s.ownNodes ? "true" : "false");
    line("count", std::to_string(s.count));
    line("degree", std::to_string(s.parameters.of(StudyMethod::Local)));
    std::string parameters;
    for (const StudyMethodRow& row : methodRows())
        if (row.parameter)
            parameters += joined({parameters.empty() ? "" : ", ", "\"", row.key, "\": ",
                                  std::to_string(s.parameters.of(row.method))});
    line("parameters", "{" + parameters + "}");
    line("globalForm", quoted(named(kGlobalForms, s.parameters.globalForm).key));
    line("methods", "[" + methods + "]");
    line("view", quoted(named(kLabViews, s.view).key));
    line("noise", numberText(s.noise));
    line("noiseSeed", std::to_string(s.noiseSeed));
    line("pickedNode", std::to_string(s.pickedNode));
    line("nodes", pairsText(study.nodes));
    line("data", pairsText(study.start.data));
    if (study.zoom)
        line("zoom", joined({"{\"left\": ", numberText(study.zoom->left),
                             ", \"right\": ", numberText(study.zoom->right),
                             ", \"bottom\": ", numberText(study.zoom->bottom),
                             ", \"top\": ", numberText(study.zoom->top), "}"}));
    else
        line("zoom", "null");
    line("split", study.split ? "true" : "false");
    line("linkAxes", study.linkAxes ? "true" : "false");
    line("panel2", panelChoiceText(study.panel2));
    line("title", quoted(study.title), !study.lesson);
    if (const std::optional<Lesson>& lesson = study.lesson)
        line("lesson",
             joined({"{\"title\": ", quoted(lesson->title), ", \"look\": ", quoted(lesson->look),
                     ", \"question\": ", quoted(lesson->question),
                     ", \"answer\": ", quoted(lesson->answer), "}"}),
             true);
    return text + "}\n";
}

StudyModel modelOf(const Study& study, bool deferLongWork)
{
    StudyModel out;
    out.model.emplace(study.start, deferLongWork);
    if (out.model->settings() != study.start.settings) {
        out.model.reset();
        out.refusal = "The study file cannot be opened: the lab cannot take its settings (its "
                      "function, nodes or view).";
        return out;
    }
    if (const Refusal refusal = out.model->showNodes(study.nodes)) {
        out.model.reset();
        out.refusal = "The study file cannot be opened: " + *refusal;
        return out;
    }
    // A choice the second panel cannot show is refused as the panel's own
    // control would refuse it, split or not, so that splitting later shows it.
    if (!study.split && study.panel2 == PanelChoice{})
        return out;
    if (const Refusal refusal = out.panel2.follow(*out.model, study.panel2)) {
        out.model.reset();
        out.panel2.clear();
        out.refusal = "The study file cannot be opened: its second panel cannot show its "
                      "choice: " + *refusal;
        return out;
    }
    if (!study.split)
        out.panel2.clear();
    return out;
}

StudyRead readStudyFile(std::string_view text)
{
    try {
        return {studyFrom(JsonReader(text).document()), {}};
    } catch (const Damage& damage) {
        return {std::nullopt, "The study file is damaged: " + damage.what + "."};
    } catch (const OutOfRange& range) {
        return {std::nullopt, "The study file cannot be opened: " + range.what + "."};
    }
}

}  // namespace tarvel
