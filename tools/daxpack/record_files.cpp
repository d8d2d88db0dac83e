#include "record_files.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <memory>

#include "packed_records.h"
#include "vek64_store.h"

namespace daxpack {

namespace {

struct PropsFree {
    void operator()(void *props) const { VekPropsFree(props); }
};
using Props = std::unique_ptr<void, PropsFree>;

struct TextFree {
    void operator()(char *text) const { VekTextFree(text); }
};
using Text = std::unique_ptr<char, TextFree>;

struct FileClose {
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileClose>;

std::string CountedText(const char *text) {
    return text == nullptr ? std::string() : std::string(text, VekTextLength(text));
}

// UTF-8 (valid, from the JSON reader) as Latin-1; false past U+00FF.
bool ToLatin1(std::string_view utf8, std::string &latin1) {
    latin1.clear();
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            latin1.push_back(static_cast<char>(c));
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size()) {
            latin1.push_back(static_cast<char>(((c & 0x03) << 6) | (utf8[++i] & 0x3F)));
        } else {
            return false;
        }
    }
    return true;
}

std::string ToUtf8(std::string_view latin1) {
    std::string utf8;
    for (const char byte : latin1) {
        const auto c = static_cast<unsigned char>(byte);
        if (c < 0x80) {
            utf8.push_back(byte);
        } else {
            utf8.push_back(static_cast<char>(0xC0 | (c >> 6)));
            utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return utf8;
}

bool ValueText(const nlohmann::json &value, std::string &text) {
    if (value.is_string())
        return ToLatin1(value.get_ref<const std::string &>(), text);
    if (value.is_boolean())
        text = value.get<bool>() ? "True" : "False";
    else if (value.is_null())
        text.clear();
    else if (value.is_number())
        text = value.dump();
    else
        return false;
    return true;
}

bool RecordFromObject(const nlohmann::json &object, std::string &record, std::string &error) {
    const Props props(VekPropsNew());
    std::string name;
    std::string text;
    for (const auto &[key, value] : object.items()) {
        if (!ToLatin1(key, name) || !ValueText(value, text)) {
            error = "the member \"" + key +
                    "\" is not a Latin-1 name with a text, number, "
                    "Boolean or null value";
            return false;
        }
        if (VekPropsSetTextA(props.get(), name.c_str(), text.c_str()) < 0) {
            error = LastVekError();
            return false;
        }
    }
    record = CountedText(Text(VekPropsToTextA(props.get(), ";", 1, 0)).get());
    return true;
}

}  // namespace

std::vector<std::string> RecordsFromLines(std::string_view text) {
    std::vector<std::string> records;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        records.emplace_back(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return records;
}

bool LinesFromRecords(const std::vector<std::string> &records, std::string &text,
                      std::string &error) {
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i].find_first_of("\r\n") != std::string::npos) {
            error = "record " + std::to_string(i + 1) +
                    " holds a line break: write the records as JSON (--json)";
            return false;
        }
        text += records[i];
        text += '\n';
    }
    return true;
}

bool RecordsFromJson(std::string_view text, std::vector<std::string> &records, std::string &error) {
    const nlohmann::json document = nlohmann::json::parse(text, nullptr, false);
    if (document.is_discarded() || !document.is_array()) {
        error = "the input is not a JSON array of objects";
        return false;
    }
    for (const nlohmann::json &object : document) {
        std::string record;
        if (!object.is_object()) {
            error = "item " + std::to_string(records.size() + 1) + " is not an object";
            return false;
        }
        if (!RecordFromObject(object, record, error))
            return false;
        records.push_back(std::move(record));
    }
    return true;
}

bool JsonFromRecords(const std::vector<std::string> &records, std::string &text,
                     std::string &error) {
    nlohmann::json document = nlohmann::json::array();
    for (const std::string &record : records) {
        const Props props(VekTextToPropsA(record.c_str(), ";", 1, 0));
        if (!props) {
            error = LastVekError();
            return false;
        }
        nlohmann::json object = nlohmann::json::object();
        for (int32_t i = 0; i < VekPropsCount(props.get()); ++i) {
            VEKPROPERTYA *item = VekPropsItemAt(props.get(), i);
            char *value = nullptr;
            if (VekVarToStrA(&item->value, &value) < 0) {
                error = LastVekError();
                return false;
            }
            object[ToUtf8(CountedText(item->name))] = ToUtf8(CountedText(Text(value).get()));
        }
        document.push_back(std::move(object));
    }
    text = document.dump(1) + "\n";
    return true;
}

bool ReadWholeFile(const std::string &path, std::string &contents, std::string &error) {
    const File file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = "cannot open \"" + path + "\"";
        return false;
    }
    char chunk[65536];
    size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, file.get())) > 0)
        contents.append(chunk, count);
    return true;
}

bool WriteWholeFile(const std::string &path, std::string_view contents, std::string &error) {
    File file(std::fopen(path.c_str(), "wb"));
    if (!file || std::fwrite(contents.data(), 1, contents.size(), file.get()) != contents.size() ||
        std::fclose(file.release()) != 0) {
        error = "cannot write \"" + path + "\"";
        return false;
    }
    return true;
}

}  // namespace daxpack
