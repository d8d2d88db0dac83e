// The overview text of T_Present_T_Table: a title line, the number of T objects,
// each object's name and current node, and a closing line.
#pragma once

#include <string>

#include "tstore/table/t_table.h"

namespace Ostrel::Zam::tstore {

std::string Present_T_Table(const T_Table &table);

}  // namespace Ostrel::Zam::tstore
