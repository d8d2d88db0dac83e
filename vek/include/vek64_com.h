// The COM interfaces of the support library (C++ only).
#pragma once

#include <cstdint>

#include "platform/com.h"
#include "vek64.h"

namespace Ostrel::Zam {

// Extended error information. The first five operations after IUnknown are those
// of the standard IErrorInfo; the interface's own operations follow, the code
// being read through the third of them. Texts come back as counted texts that the
// caller frees with VekTextFree (null for an empty text).
struct IErrorInfoExA : IErrorInfo {
    virtual HRESULT STDMETHODCALLTYPE GetSourceA(char **text) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDescriptionA(char **text) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNumber(int32_t *code) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetHelpLinkA(char **text) = 0;
    // The dumped bytes stay owned by the object.
    virtual HRESULT STDMETHODCALLTYPE GetDump(const void **data, uint32_t *size) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetInnerError(IErrorInfoExA **inner) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetProcessId(uint32_t *pid) = 0;
    // UTC time of creation (or of the last Clear) as an automation date (days
    // since 1899-12-30).
    virtual HRESULT STDMETHODCALLTYPE GetTimeStamp(double *date) = 0;
    // The two parts of the help link: the help file before the first '#' and the
    // help keyword after it (a link without '#' is all help file).
    virtual HRESULT STDMETHODCALLTYPE GetHelpFileA(char **text) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetHelpKeywordA(char **text) = 0;

  protected:
    ~IErrorInfoExA() = default;
};

// Writing an error-information object. The standard ICreateErrorInfo operations
// come first (their wide texts are taken as UTF-16 and stored as 8-bit texts);
// every text setter clears its field for a null or empty text. SetHelpFile
// replaces the help-file part of the help link and keeps its keyword.
struct ICreateErrorInfoExA : ICreateErrorInfo {
    virtual HRESULT STDMETHODCALLTYPE SetNumber(int32_t code) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSourceA(const char *text) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDescriptionA(const char *text) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetHelpFileA(const char *text) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetHelpLinkA(const char *text) = 0;
    // Copies `size` bytes; a null pointer or size 0 empties the dump.
    virtual HRESULT STDMETHODCALLTYPE SetDump(const void *data, uint32_t size) = 0;
    // Chains `inner` (may be null) as the error that caused this one. A chain that
    // would lead back to this object is refused: the object stays unchanged, the
    // thread's error information describes the refusal (code 0xC0000000) and that
    // code is returned.
    virtual HRESULT STDMETHODCALLTYPE SetInnerErrorInfo(IUnknown *inner) = 0;
    // Back to a fresh object: code 0, empty texts and dump, help context -1, no
    // inner error, a new time stamp and the current process id. When the object is
    // the calling thread's error information, the thread's is cleared first.
    virtual HRESULT STDMETHODCALLTYPE Clear() = 0;

  protected:
    ~ICreateErrorInfoExA() = default;
};

// The wide-text twins of the two interfaces above: the same object and fields, the
// texts as BSTRs (UTF-16). Texts read come back as BSTRs that the caller frees with
// SysFreeString (null for an empty text); texts written are stored as the 8-bit
// texts that the A interfaces read.
struct IErrorInfoExB : IErrorInfo {
    virtual HRESULT STDMETHODCALLTYPE GetSourceB(BSTR *text) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDescriptionB(BSTR *text) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNumber(int32_t *code) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetHelpLinkB(BSTR *text) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDump(const void **data, uint32_t *size) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetInnerError(IErrorInfoExB **inner) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetProcessId(uint32_t *pid) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTimeStamp(double *date) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetHelpFileB(BSTR *text) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetHelpKeywordB(BSTR *text) = 0;

  protected:
    ~IErrorInfoExB() = default;
};

struct ICreateErrorInfoExB : ICreateErrorInfo {
    virtual HRESULT STDMETHODCALLTYPE SetNumber(int32_t code) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSourceB(const OLECHAR *text) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDescriptionB(const OLECHAR *text) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetHelpFileB(const OLECHAR *text) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetHelpLinkB(const OLECHAR *text) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDump(const void *data, uint32_t size) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetInnerErrorInfo(IUnknown *inner) = 0;
    virtual HRESULT STDMETHODCALLTYPE Clear() = 0;

  protected:
    ~ICreateErrorInfoExB() = default;
};

// A table of texts for the error codes of one family.
struct IVekErrorMsgsA : IUnknown {
    // Stores the text for a full code (raise bits included) into *text, a counted
    // text, with VekArrayCopy_; an unknown code leaves *text null. Returns that
    // call's status.
    virtual int32_t STDMETHODCALLTYPE GetErrorMsg(uint32_t code, char **text) = 0;

  protected:
    ~IVekErrorMsgsA() = default;
};

// A list of objects held by reference in the order they were added (the object
// registries of ZamCreateObjectRegistry and ZamGetObjectRegistry). Safe to use from
// any thread. Results are support-library statuses.
struct IZamObjectRegistryA : IUnknown {
    // Adds the object (held as the registry's item interface, with one reference);
    // an object already there is added again. Returns the new count.
    virtual int32_t STDMETHODCALLTYPE AddObject(IUnknown *object) = 0;
    // Removes the last-added entry of the object (same identity); returns the new
    // count, or a failure status when the object is not there.
    virtual int32_t STDMETHODCALLTYPE RemoveObject(IUnknown *object) = 0;
    virtual int32_t STDMETHODCALLTYPE GetCount() = 0;
    // The objects that answer `iid`, as that interface and in the order they were
    // added: a counted array of interface pointers, each with one reference, freed
    // with ZamObjsFree (null when none). Returns the count.
    virtual int32_t STDMETHODCALLTYPE GetObjectsA(REFIID iid, void ***objects) = 0;

  protected:
    ~IZamObjectRegistryA() = default;
};

// Path parts of the local file system.
enum ZamPathPart : int32_t {
    kPathDrive = 1,      // "C:" or "\\server\share"; empty for a relative path
    kPathFolder = 2,     // the folder with its trailing separator
    kPathFileName = 3,   // the file name with its extension
    kPathBaseName = 4,   // the file name without its extension
    kPathExtension = 5,  // the extension with its dot
};

struct IZamLocalFileSystemA : IUnknown {
    // Stores one part of `path` (ZamPathPart) into *part as a counted text (null for
    // an empty part). Returns 0, or a failure status for an unknown part code.
    virtual int32_t STDMETHODCALLTYPE GetPathPartA(const char *path, int32_t part_code,
                                                   char **part) = 0;

  protected:
    ~IZamLocalFileSystemA() = default;
};

inline constexpr GUID kIID_IZamObjectRegistryA = {
    0x0510BF40, 0x59E9, 0x11D2, {0xA7, 0x19, 0x00, 0x50, 0x04, 0x2D, 0xA9, 0xE6}};
inline constexpr GUID kIID_IZamLocalFileSystemA = {
    0x06400001, 0xC9A9, 0x457B, {0xB2, 0x31, 0x00, 0x40, 0xD0, 0x28, 0x63, 0x78}};
inline constexpr GUID kIID_IErrorInfoExA = {
    0x0640B121, 0x547D, 0x101B, {0x8E, 0x65, 0x00, 0x50, 0x04, 0x2D, 0xA9, 0xE6}};
inline constexpr GUID kIID_ICreateErrorInfoExA = {
    0x0640B122, 0x547D, 0x101B, {0x8E, 0x65, 0x00, 0x50, 0x04, 0x2D, 0xA9, 0xE6}};
inline constexpr GUID kIID_IErrorInfoExB = {
    0x0640B123, 0x547D, 0x101B, {0x8E, 0x65, 0x00, 0x50, 0x04, 0x2D, 0xA9, 0xE6}};
inline constexpr GUID kIID_ICreateErrorInfoExB = {
    0x0640B124, 0x547D, 0x101B, {0x8E, 0x65, 0x00, 0x50, 0x04, 0x2D, 0xA9, 0xE6}};
inline constexpr GUID kIID_IVekErrorMsgsA = {
    0x051065B3, 0x0EE4, 0x11D4, {0x80, 0xEB, 0x00, 0x50, 0x04, 0x2D, 0xA9, 0xE6}};

}  // namespace Ostrel::Zam

namespace vek {

// A message table that lives as a static object of a library: registered for its
// family from construction to destruction, and not reference counted (AddRef and
// Release never destroy it). Subclasses give the text of each code.
class RegisteredErrorMessages : public Ostrel::Zam::IVekErrorMsgsA {
  public:
    RegisteredErrorMessages(uint32_t family, uint32_t flags) {
        VekRegisterErrorsA(flags, family, static_cast<Ostrel::Zam::IVekErrorMsgsA *>(this));
    }
    RegisteredErrorMessages(const RegisteredErrorMessages &) = delete;
    RegisteredErrorMessages &operator=(const RegisteredErrorMessages &) = delete;
    virtual ~RegisteredErrorMessages() {
        VekUnregisterErrors(static_cast<Ostrel::Zam::IVekErrorMsgsA *>(this));
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override {
        if (object == nullptr)
            return E_POINTER;
        if (platform::SameGuid(iid, platform::kIID_IUnknown) ||
            platform::SameGuid(iid, Ostrel::Zam::kIID_IVekErrorMsgsA)) {
            *object = static_cast<Ostrel::Zam::IVekErrorMsgsA *>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }

    int32_t STDMETHODCALLTYPE GetErrorMsg(uint32_t code, char **text) override {
        const char *message = MessageFor(code);
        if (message == nullptr) {
            if (text != nullptr)
                VekTextFree(*text);
            if (text != nullptr)
                *text = nullptr;
            return 0;
        }
        return VekArrayCopy_(reinterpret_cast<void **>(text), message, -5, 1);
    }

  protected:
    // The text for a full code (raise bits included), or null when there is none.
    virtual const char *MessageFor(uint32_t code) const = 0;
};

// Texts for the consecutive codes first, first + 1, ... of one family.
class DenseErrorMessages : public RegisteredErrorMessages {
  public:
    template <size_t N>
    DenseErrorMessages(uint32_t family, uint32_t first_code, const char *const (&texts)[N])
        : RegisteredErrorMessages(family, 0), first_code_(first_code), texts_(texts), count_(N) {}

  protected:
    const char *MessageFor(uint32_t code) const override {
        const uint32_t index = code - first_code_;
        return code >= first_code_ && index < count_ ? texts_[index] : nullptr;
    }

  private:
    uint32_t first_code_;
    const char *const *texts_;
    size_t count_;
};

}  // namespace vek
