// Script variables: results kept by `$name = Export(...)` for later arguments.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace daxhost {

enum class ValueKind { kInt32, kText, kPointer };

struct Value {
    ValueKind kind = ValueKind::kInt32;
    int32_t integer = 0;
    std::optional<std::string> text;  // absent: a null text
    void *pointer = nullptr;
};

using Variables = std::map<std::string, Value, std::less<>>;

}  // namespace daxhost
