// The frame every export runs in. From the outside in: an outer guard that turns
// the error into the failure value, the O.S.-exception guard that turns a hardware
// fault into an EHardwareException whose source is the export's frame position, and
// an inner guard that turns every other exception into an EZamError. Nothing ever
// leaves an export: a failure returns the negative code (integer exports) or null
// (text exports), with the thread's error information describing it; a success
// leaves the thread's error information as it was.
//
// A serialised export holds a lock for its whole call, taken outside the
// O.S.-exception guard: a recovered hardware fault unwinds to inside the guard,
// so the lock is released on every way out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "dax64.h"
#include "frame/ansi_string.h"
#include "frame/serial_lock.h"

namespace Ostrel::Zam {

namespace detail {
void RunGuardedBody(const char *frame_position, void (*body)(void *), void *context);
// `serial`, when not null, is held for the whole call.
int32_t RunIntegerFrame(const char *frame_position, Serial_Lock *serial, int32_t (*body)(void *),
                        void *context);
char *RunTextFrame(const char *frame_position, Serial_Lock *serial, AnsiString (*body)(void *),
                   void *context);
}  // namespace detail

// Runs an integer export's body (a callable returning int32_t).
template <class Body>
int32_t IntegerExport(const char *frame_position, Body &&body) {
    return detail::RunIntegerFrame(
        frame_position, nullptr, [](void *c) -> int32_t { return (*static_cast<Body *>(c))(); },
        &body);
}

// Runs a text export's body (a callable returning AnsiString); the result's buffer
// passes to the caller.
template <class Body>
char *TextExport(const char *frame_position, Body &&body) {
    return detail::RunTextFrame(
        frame_position, nullptr, [](void *c) -> AnsiString { return (*static_cast<Body *>(c))(); },
        &body);
}

// An integer export whose body runs holding `serial` (a lock shared by the exports
// of one process-wide store; recursive, so that an export may call another).
template <class Body>
int32_t SerialIntegerExport(const char *frame_position, Serial_Lock &serial, Body &&body) {
    return detail::RunIntegerFrame(
        frame_position, &serial, [](void *c) -> int32_t { return (*static_cast<Body *>(c))(); },
        &body);
}

// A text export whose body runs holding `serial`.
template <class Body>
char *SerialTextExport(const char *frame_position, Serial_Lock &serial, Body &&body) {
    return detail::RunTextFrame(
        frame_position, &serial, [](void *c) -> AnsiString { return (*static_cast<Body *>(c))(); },
        &body);
}

// Runs a body inside the inner and O.S.-exception guards of the frame without its
// outer guard: whatever fails leaves as an EZamError (or a subclass of it). The
// framework's automation methods run their bodies this way.
template <class Body>
void GuardedBody(const char *frame_position, Body &&body) {
    detail::RunGuardedBody(
        frame_position, [](void *c) { (*static_cast<std::remove_reference_t<Body> *>(c))(); },
        &body);
}

// A text argument copied for the body, so that the body never reads the caller's
// buffer while it changes the store (a caller may pass a text that the call itself
// replaces, such as a node's own name). Null is the empty text. A text of up to
// kInlineBytes is copied into the object itself, which lives on the export's stack:
// the paths and values that scripts pass cost no allocation. A longer one gets one
// heap block.
class ArgumentText {
  public:
    static constexpr size_t kInlineBytes = 256;

    explicit ArgumentText(const char *text);
    ArgumentText(const ArgumentText &) = delete;
    ArgumentText &operator=(const ArgumentText &) = delete;

    std::string_view View() const { return std::string_view(data_, size_); }
    std::string Str() const { return std::string(View()); }
    bool Empty() const { return size_ == 0; }
    // A counted text of the support library holding the same text, for bodies that
    // keep or return it.
    operator AnsiString() const { return AnsiString(View()); }

  private:
    char *data_ = inline_;
    size_t size_ = 0;
    std::unique_ptr<char[]> heap_;
    char inline_[kInlineBytes];
};

inline ArgumentText TextArgument(const char *text) {
    return ArgumentText(text);
}

// A text argument read in place, without the copy: for exports that change
// nothing a caller could hold a pointer into (lookups and reads, which move only
// the store's own current node and path). Null is the empty text; a text too long
// for a counted text is refused as the copy would refuse it.
std::string_view ArgumentInPlace(const char *text);

}  // namespace Ostrel::Zam
