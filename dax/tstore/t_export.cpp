#include "tstore/t_export.h"

namespace Ostrel::Zam::tstore {

std::recursive_mutex &Store_Lock() {
    static std::recursive_mutex lock;
    return lock;
}

}  // namespace Ostrel::Zam::tstore
