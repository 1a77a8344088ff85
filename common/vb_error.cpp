#include "common/vb_error.h"

#include "common/com_ptr.h"
#include "common/handles.h"

#include <utility>

namespace zo {

namespace {

struct ErrorText {
    int number;
    std::wstring_view text;
};

// The runtime's wording, ordered by number.
constexpr ErrorText kRuntimeErrorTexts[] = {
    {3, L"Return without GoSub"},
    {5, L"Invalid procedure call or argument"},
    {6, L"Overflow"},
    {7, L"Out of memory"},
    {9, L"Subscript out of range"},
    {10, L"This array is fixed or temporarily locked"},
    {11, L"Division by zero"},
    {13, L"Type mismatch"},
    {14, L"Out of string space"},
    {28, L"Out of stack space"},
    {35, L"Sub or Function not defined"},
    {48, L"Error in loading DLL"},
    {51, L"Internal error"},
    {52, L"Bad file name or number"},
    {53, L"File not found"},
    {54, L"Bad file mode"},
    {55, L"File already open"},
    {57, L"Device I/O error"},
    {58, L"File already exists"},
    {61, L"Disk full"},
    {62, L"Input past end of file"},
    {67, L"Too many files"},
    {68, L"Device unavailable"},
    {70, L"Permission denied"},
    {71, L"Disk not ready"},
    {75, L"Path/File access error"},
    {76, L"Path not found"},
    {91, L"Object variable or With block variable not set"},
    {92, L"For loop not initialized"},
    {94, L"Invalid use of Null"},
    {380, L"Invalid property value"},
    {381, L"Invalid property array index"},
    {382, L"Set not supported at runtime"},
    {383, L"Set not supported (read-only property)"},
    {385, L"Need property array index"},
    {387, L"Set not permitted"},
    {393, L"Get not supported at runtime"},
    {394, L"Get not supported (write-only property)"},
    {398, L"Client Site not available"},
    {422, L"Property not found"},
    {423, L"Property or method not found"},
    {424, L"Object required"},
    {429, L"ActiveX component can't create object"},
    {430, L"Class does not support Automation or does not support expected interface"},
    {438, L"Object doesn't support this property or method"},
    {440, L"Automation error"},
    {445, L"Object doesn't support this action"},
    {446, L"Object doesn't support named arguments"},
    {448, L"Named argument not found"},
    {449, L"Argument not optional"},
    {450, L"Wrong number of arguments or invalid property assignment"},
    {451, L"Property let procedure not defined and property get procedure did not return an object"},
    {459, L"Object or class does not support the set of events"},
    {481, L"Invalid picture"},
    {482, L"Printer error"},
};

constexpr std::wstring_view kUnknownErrorText = L"Application-defined or object-defined error";

bool IsRuntimeCode(HRESULT code) noexcept {
    return (static_cast<unsigned long>(code) & 0xFFFF0000u) == 0x800A0000u;
}

std::wstring FromBstr(BSTR text) {
    return text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
}

}  // namespace

std::wstring_view RuntimeErrorText(int number) noexcept {
    for (const ErrorText& entry : kRuntimeErrorTexts)
        if (entry.number == number) return entry.text;
    return kUnknownErrorText;
}

VbError::VbError(HRESULT code, std::wstring errorSource, std::wstring errorDescription)
    : scode(code), source(std::move(errorSource)), description(std::move(errorDescription)) {}

VbError VbError::Runtime(int number, std::wstring errorSource) {
    return VbError(RuntimeErrorCode(number), std::move(errorSource),
                   std::wstring(RuntimeErrorText(number)));
}

VbError VbError::Object(HRESULT code, std::wstring errorSource, std::wstring errorDescription) {
    return VbError(code, std::move(errorSource), std::move(errorDescription));
}

VbError VbError::FromHResult(HRESULT hr, std::wstring errorSource) {
    struct Mapping {
        HRESULT hr;
        int number;
    };
    static constexpr Mapping kMappings[] = {
        {DISP_E_OVERFLOW, vb_error::kOverflow},
        {DISP_E_TYPEMISMATCH, vb_error::kTypeMismatch},
        {DISP_E_BADINDEX, vb_error::kSubscriptOutOfRange},
        {DISP_E_DIVBYZERO, vb_error::kDivisionByZero},
        {DISP_E_ARRAYISLOCKED, 10},
        {E_OUTOFMEMORY, vb_error::kOutOfMemory},
        {DISP_E_MEMBERNOTFOUND, vb_error::kMethodNotSupported},
        {DISP_E_UNKNOWNNAME, vb_error::kMethodNotSupported},
        {DISP_E_BADPARAMCOUNT, vb_error::kWrongArgumentCount},
        {DISP_E_PARAMNOTOPTIONAL, vb_error::kArgumentNotOptional},
        {DISP_E_NONAMEDARGS, 446},
        {E_NOINTERFACE, vb_error::kNoAutomationInterface},
        {E_INVALIDARG, vb_error::kInvalidProcedureCall},
        {REGDB_E_CLASSNOTREG, 429},
        {CO_E_CLASSSTRING, 429},
    };
    if (IsRuntimeCode(hr)) return Runtime(static_cast<int>(hr & 0xFFFF), std::move(errorSource));
    for (const Mapping& mapping : kMappings)
        if (mapping.hr == hr) return Runtime(mapping.number, std::move(errorSource));
    return VbError(hr, std::move(errorSource),
                   std::wstring(RuntimeErrorText(vb_error::kAutomationError)));
}

VbError VbError::FromExcepInfo(EXCEPINFO& info) {
    if (info.pfnDeferredFillIn) {
        info.pfnDeferredFillIn(&info);
        info.pfnDeferredFillIn = nullptr;
    }
    unique_bstr ownedSource(std::exchange(info.bstrSource, nullptr));
    unique_bstr ownedDescription(std::exchange(info.bstrDescription, nullptr));
    unique_bstr ownedHelpFile(std::exchange(info.bstrHelpFile, nullptr));

    // A handler reports either an error number in wCode or an HRESULT in scode.
    HRESULT code = info.scode;
    if (code == S_OK) code = info.wCode ? RuntimeErrorCode(info.wCode) : E_FAIL;
    std::wstring errorDescription = FromBstr(ownedDescription.get());
    std::wstring errorSource = FromBstr(ownedSource.get());

    VbError error = FromHResult(code, std::move(errorSource));
    if (!errorDescription.empty()) {
        // The thrower's own words win over the standard wording, but its
        // number is kept as it sent it.
        error.scode = code;
        error.description = std::move(errorDescription);
    }
    return error;
}

int VbError::Number() const noexcept {
    if (IsRuntimeCode(scode)) return static_cast<int>(scode & 0xFFFF);
    return static_cast<int>(scode);
}

bool VbError::IsRuntime() const noexcept { return IsRuntimeCode(scode); }

const char* VbError::what() const noexcept {
    try {
        int size = ::WideCharToMultiByte(CP_UTF8, 0, description.data(),
                                         static_cast<int>(description.size()), nullptr, 0,
                                         nullptr, nullptr);
        m_what.assign(static_cast<size_t>(size), '\0');
        if (size > 0)
            ::WideCharToMultiByte(CP_UTF8, 0, description.data(),
                                  static_cast<int>(description.size()), m_what.data(), size,
                                  nullptr, nullptr);
        return m_what.c_str();
    } catch (...) {
        return "VbError";
    }
}

HRESULT RaiseComError(const VbError& error, REFIID iid) noexcept {
    com_ptr<ICreateErrorInfo> create;
    if (SUCCEEDED(::CreateErrorInfo(create.put()))) {
        // The error object copies the strings; the parameters are merely
        // declared non-const.
        create->SetGUID(iid);
        create->SetSource(const_cast<LPOLESTR>(error.source.c_str()));
        create->SetDescription(const_cast<LPOLESTR>(error.description.c_str()));
        if (com_ptr<IErrorInfo> info = create.query<IErrorInfo>(IID_IErrorInfo))
            ::SetErrorInfo(0, info.get());
    }
    return error.scode;
}

HRESULT FillExcepInfo(const VbError& error, EXCEPINFO* info) noexcept {
    if (info) {
        *info = EXCEPINFO{};
        info->scode = error.scode;
        info->bstrSource = ::SysAllocStringLen(error.source.data(),
                                               static_cast<UINT>(error.source.size()));
        info->bstrDescription = ::SysAllocStringLen(error.description.data(),
                                                    static_cast<UINT>(error.description.size()));
    }
    return DISP_E_EXCEPTION;
}

}  // namespace zo
