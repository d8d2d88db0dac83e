// The system's registry of in-process COM classes, and creating objects of the
// classes it holds. On Windows the keys below HKEY_CLASSES_ROOT and CoCreateInstance;
// elsewhere a process-wide table (kept in the one module that uses these functions,
// the support library) and the class objects that a loaded module serves through
// its DllGetClassObject.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/com.h"

namespace platform {

struct ClassEntries {
    std::string class_id;  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
    std::string prog_id;   // the ProgID that the class identifier names
    std::string server;    // full path of the in-process server module
    std::string description;
    std::string threading_model;
};

// Writes the entries of a class: ProgID -> class id, class id -> ProgID, description,
// server and threading model. Returns 0 or the system's error code.
long WriteClassEntries(std::string_view prog_id, const ClassEntries &entries);
// Removes the ProgID's entries and those of `class_id` (empty: the class id that
// the ProgID names). Entries already absent are no failure. Returns 0 or an error.
long RemoveClassEntries(std::string_view prog_id, std::string_view class_id);
// The entries registered for a ProgID, or nothing when it is not registered.
std::optional<ClassEntries> ReadClassEntries(std::string_view prog_id);

// A new object of a registered class (a ProgID or a class id in braces) as `iid`.
HRESULT CreateRegisteredObject(std::string_view class_name, uint32_t class_context, REFIID iid,
                               void **object);

// Enters COM (the multithreaded apartment) on the calling thread for the object's
// life where the system needs it (Windows); nothing elsewhere.
class ComApartment {
  public:
    ComApartment();
    ComApartment(const ComApartment &) = delete;
    ComApartment &operator=(const ComApartment &) = delete;
    ~ComApartment();

  private:
    [[maybe_unused]] bool entered_ = false;  // set and read on Windows only
};

// The text form of a class identifier and back (false for a malformed text).
std::string ClassIdText(const GUID &guid);
bool ClassIdFromText(std::string_view text, GUID *guid);

}  // namespace platform
