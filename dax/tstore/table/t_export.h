// The frame of every T export. The T table, its trees, the aliases and the search
// state are shared by the whole process, so every T export holds one store-wide
// lock for its whole call: a host that calls from several threads at once sees
// each call whole, never a tree changed half-way by another thread. The lock is
// recursive, so an export may call another.
#pragma once

#include <cstdint>
#include <utility>

#include "frame/export_frame.h"

namespace Ostrel::Zam::tstore {

// The store-wide lock.
Serial_Lock &Store_Lock();

template <class Body>
int32_t StoreIntegerExport(const char *frame_position, Body &&body) {
    return SerialIntegerExport(frame_position, Store_Lock(), std::forward<Body>(body));
}

template <class Body>
char *StoreTextExport(const char *frame_position, Body &&body) {
    return SerialTextExport(frame_position, Store_Lock(), std::forward<Body>(body));
}

}  // namespace Ostrel::Zam::tstore
