#include "tstore/table/t_export.h"

namespace Ostrel::Zam::tstore {

Serial_Lock &Store_Lock() {
    static Serial_Lock lock;
    return lock;
}

}  // namespace Ostrel::Zam::tstore
