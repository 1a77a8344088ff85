// The error boundary every COM method body runs in: what each kind of
// exception becomes, for a plain method and for a hand-written Invoke path.
#include <gtest/gtest.h>

#include <stdexcept>

#include "common/com_ptr.h"
#include "runtime/guarded_call.h"

namespace zo {
namespace {

// The IID the tests publish errors for; any IID will do.
const IID& TestIid() { return IID_IDispatch; }

TEST(GuardedCall, EachKindOfExceptionBecomesItsResult) {
    const VbError objectError = VbError::Object(0x80040001, L"Source", L"Description");
    const struct {
        const char* name;
        void (*body)();
        HRESULT expected;
    } cases[] = {
        {"returns", [] {}, S_OK},
        {"VbError", [] { throw VbError::Runtime(vb_error::kInvalidPropertyValue); }, RuntimeErrorCode(380)},
        {"bad_alloc", [] { throw std::bad_alloc(); }, E_OUTOFMEMORY},
        {"runtime_error", [] { throw std::runtime_error("other"); }, E_UNEXPECTED},
        {"not an exception class", [] { throw 42; }, E_UNEXPECTED},
    };
    for (const auto& c : cases) EXPECT_EQ(GuardedCall(TestIid(), c.body), c.expected) << c.name;
    EXPECT_EQ(GuardedCall(TestIid(), [&] { throw objectError; }), objectError.scode);
}

TEST(GuardedCall, ABodyReturningAResultHasItPassedOn) {
    EXPECT_EQ(GuardedCall(TestIid(), [] { return S_FALSE; }), S_FALSE);
    EXPECT_EQ(GuardedCall(TestIid(), [] { return STG_E_READFAULT; }), STG_E_READFAULT);
}

TEST(GuardedCall, AVbErrorIsPublishedAsTheThreadsErrorObject) {
    ::SetErrorInfo(0, nullptr);
    (void)GuardedCall(TestIid(), [] { throw VbError::Object(0x80040001, L"Src", L"Went wrong"); });
    com_ptr<IErrorInfo> info;
    ASSERT_EQ(::GetErrorInfo(0, info.put()), S_OK);
    BSTR description = nullptr;
    ASSERT_EQ(info->GetDescription(&description), S_OK);
    EXPECT_STREQ(description, L"Went wrong");
    ::SysFreeString(description);
}

TEST(GuardedInvoke, AVbErrorFillsTheExcepInfoOtherFailuresDoNot) {
    EXCEPINFO exception{};
    EXPECT_EQ(GuardedInvoke(TestIid(), &exception, []() -> HRESULT { throw VbError::Runtime(91); }),
              DISP_E_EXCEPTION);
    EXPECT_EQ(exception.scode, RuntimeErrorCode(91));
    EXPECT_STREQ(exception.bstrDescription, L"Object variable or With block variable not set");
    ::SysFreeString(exception.bstrSource);
    ::SysFreeString(exception.bstrDescription);

    EXCEPINFO untouched{};
    EXPECT_EQ(GuardedInvoke(TestIid(), &untouched, []() -> HRESULT { throw std::logic_error("x"); }), E_UNEXPECTED);
    EXPECT_EQ(untouched.bstrDescription, nullptr);
    EXPECT_EQ(GuardedInvoke(TestIid(), nullptr, [] { return DISP_E_MEMBERNOTFOUND; }), DISP_E_MEMBERNOTFOUND);
}

}  // namespace
}  // namespace zo
