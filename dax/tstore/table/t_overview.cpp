#include "tstore/table/t_overview.h"

#include <cstdio>

namespace Ostrel::Zam::tstore {

namespace {

// Names and current-node lines are cut at this many characters.
constexpr int kMaxShown = 255;

std::string CountLine(int32_t count) {
    char line[64];
    std::snprintf(line, sizeof line,
                  count == 1 ? "%d T is defined: \n\n" : "%d T's are defined: \n\n", count);
    return line;
}

std::string CurrentNodeLine(const T_Object &object) {
    if (object.Current() == nullptr)
        return "       Current node is undefined\n";
    std::string line = "       Current node is : " + object.Current_Path() + "\n";
    return line.substr(0, kMaxShown);
}

std::string ObjectLines(int32_t number, const T_Object &object) {
    std::string lines = "   " + std::to_string(number) + ": ";
    lines += object.Name().substr(0, kMaxShown);
    lines += '\n';
    lines += CurrentNodeLine(object);
    return lines;
}

}  // namespace

std::string Present_T_Table(const T_Table &table) {
    std::string text(30, '=');
    text += " T table overview ";
    text += std::string(31, '=');
    text += "\n\n";
    text += CountLine(table.Object_Count());
    for (int32_t i = 0; i < table.Object_Count(); ++i)
        text += ObjectLines(i + 1, *table.T_Object_At(i));
    text += '\n';
    text += std::string(79, '=');
    text += '\n';
    return text;
}

}  // namespace Ostrel::Zam::tstore
