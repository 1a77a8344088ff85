// The error type of the library: an HRESULT with a source and a description,
// the three things a caller sees in Err.Number/Err.Source/Err.Description or
// in an EXCEPINFO.
//
// Runtime errors (Overflow, Subscript out of range, ...) carry the control
// facility code 0x800A0000 + number and the runtime's own wording; errors the
// library defines itself carry an object-defined code such as 0x80040001.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <exception>
#include <string>
#include <string_view>

namespace zo {

// Err.Source given to runtime errors when the thrower names none: the
// project name, as the runtime does.
inline constexpr std::wstring_view kDefaultErrorSource = L"ZoPropertyList";

// Runtime error numbers the library raises or tests for.
namespace vb_error {
inline constexpr int kInvalidProcedureCall = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kOutOfMemory = 7;
inline constexpr int kSubscriptOutOfRange = 9;
inline constexpr int kDivisionByZero = 11;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kObjectNotSet = 91;
inline constexpr int kInvalidPropertyValue = 380;
inline constexpr int kSetNotSupportedReadOnly = 383;
inline constexpr int kGetNotSupportedWriteOnly = 394;
inline constexpr int kClientSiteNotAvailable = 398;
inline constexpr int kObjectRequired = 424;
inline constexpr int kNoAutomationInterface = 430;
inline constexpr int kMethodNotSupported = 438;
inline constexpr int kAutomationError = 440;
inline constexpr int kArgumentNotOptional = 449;
inline constexpr int kWrongArgumentCount = 450;
}  // namespace vb_error

// HRESULT of runtime error `number`: severity error, facility control.
[[nodiscard]] constexpr HRESULT RuntimeErrorCode(int number) noexcept {
    return static_cast<HRESULT>(0x800A0000u | (static_cast<unsigned>(number) & 0xFFFFu));
}

// The runtime's wording for a runtime error number; numbers it has no text
// for read "Application-defined or object-defined error".
[[nodiscard]] std::wstring_view RuntimeErrorText(int number) noexcept;

struct VbError : std::exception {
    HRESULT scode = E_FAIL;
    std::wstring source;
    std::wstring description;

    VbError(HRESULT code, std::wstring errorSource, std::wstring errorDescription);

    // Runtime error `number` (1 .. 65535) with the runtime's wording.
    [[nodiscard]] static VbError Runtime(int number,
                                         std::wstring errorSource = std::wstring(kDefaultErrorSource));
    // An error defined by an object of the library, e.g. 0x80040001.
    [[nodiscard]] static VbError Object(HRESULT code, std::wstring errorSource,
                                        std::wstring errorDescription);
    // The error a failed call into another object stands for: the standard
    // dispatch and COM failures map to the runtime error the runtime reports
    // for them (DISP_E_TYPEMISMATCH is Type mismatch, ...); any other code is
    // kept as it is with the description "Automation error".
    [[nodiscard]] static VbError FromHResult(HRESULT hr,
                                             std::wstring errorSource = std::wstring(kDefaultErrorSource));
    // The error described by an EXCEPINFO filled by IDispatch::Invoke (runs
    // the deferred fill-in first). Takes the strings out of `info` and frees
    // them, leaving it empty.
    [[nodiscard]] static VbError FromExcepInfo(EXCEPINFO& info);

    // Err.Number: the low word for runtime errors (0x800Axxxx), otherwise the
    // HRESULT itself as a signed 32-bit number (0x80040001 is -2147221503).
    [[nodiscard]] int Number() const noexcept;
    [[nodiscard]] bool IsRuntime() const noexcept;

    // The description in UTF-8.
    const char* what() const noexcept override;

private:
    mutable std::string m_what;
};

// Publishes the error to the caller of a COM method: sets the thread's error
// object (CreateErrorInfo / SetErrorInfo) with the source, the description and
// `iid`, and returns the error's scode for the method to return. Dispatch
// through the type library then hands the caller DISP_E_EXCEPTION with a
// filled EXCEPINFO.
[[nodiscard]] HRESULT RaiseComError(const VbError& error, REFIID iid) noexcept;

// Fills an EXCEPINFO for a hand-written IDispatch::Invoke path. A null
// `info` is ignored. Returns DISP_E_EXCEPTION.
HRESULT FillExcepInfo(const VbError& error, EXCEPINFO* info) noexcept;

}  // namespace zo
