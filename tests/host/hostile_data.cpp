#include "tests/host/hostile_data.h"

#include <olectl.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <ostream>
#include <stdexcept>

#include "common/handles.h"
#include "tests/host/gtest_support.h"
#include "tests/host/dispatch_call.h"
#include "tests/host/memory_stream.h"

namespace zo::test {

namespace {

Variant Typed(VARTYPE type, const std::function<void(VARIANT&)>& fill) {
    VARIANT raw;
    ::VariantInit(&raw);
    V_VT(&raw) = type;
    fill(raw);
    return Variant::Attach(raw);
}

Variant StoredFont() {
    FONTDESC description{};
    description.cbSizeofstruct = sizeof(FONTDESC);
    description.lpstrName = const_cast<LPOLESTR>(L"DejaVu Sans Mono");
    description.cySize.int64 = 12 * 10000;
    description.sWeight = FW_BOLD;
    description.fItalic = TRUE;
    com_ptr<IDispatch> font;
    if (FAILED(::OleCreateFontIndirect(&description, IID_IDispatch, font.put_void())))
        throw std::runtime_error("OleCreateFontIndirect failed");
    return Variant(font.get());
}

// An object that is no font: an empty picture, whose default property is a
// number.
Variant StoredPicture() {
    PICTDESC description{};
    description.cbSizeofstruct = sizeof(PICTDESC);
    description.picType = PICTYPE_NONE;
    com_ptr<IDispatch> picture;
    if (FAILED(::OleCreatePictureIndirect(&description, IID_IDispatch, TRUE, picture.put_void())))
        throw std::runtime_error("OleCreatePictureIndirect failed");
    return Variant(picture.get());
}

Variant StoredStream() {
    com_ptr<IStream> stream;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put()))) throw std::runtime_error("no stream");
    return Variant(static_cast<IUnknown*>(stream.get()));
}

Variant LongMatrix() {
    SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
    VARIANT raw;
    ::VariantInit(&raw);
    V_VT(&raw) = VT_ARRAY | VT_I4;
    V_ARRAY(&raw) = ::SafeArrayCreate(VT_I4, 2, bounds);
    return Variant::Attach(raw);
}

}  // namespace

std::vector<HostileValue> HostileValues() {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    std::vector<HostileValue> values;
    values.push_back({"Empty", Variant()});
    values.push_back({"Null", Variant::Null()});
    values.push_back({"Missing", Variant::Missing()});
    values.push_back({"Error E_FAIL", Variant::Error(E_FAIL)});
    values.push_back({"empty text", Variant(L"")});
    values.push_back({"text that is no number", Variant(L"not a number")});
    values.push_back({"number followed by text", Variant(L"12abc")});
    values.push_back({"text of a number beyond 64 bits", Variant(L"99999999999999999999999")});
    values.push_back({"text -1", Variant(L"-1")});
    values.push_back({"text with a NUL inside", Variant(std::wstring(L"a\0b", 3))});
    values.push_back({"text of 100,000 characters", Variant(std::wstring(100000, L'x'))});
    values.push_back({"Integer -32768", Variant(std::int16_t{-32768})});
    values.push_back({"Integer 32767", Variant(std::int16_t{32767})});
    values.push_back({"Integer -1", Variant(std::int16_t{-1})});
    values.push_back({"Integer 2", Variant(std::int16_t{2})});
    values.push_back({"Long -2147483648", Variant(std::int32_t{std::numeric_limits<std::int32_t>::min()})});
    values.push_back({"Long 2147483647", Variant(std::int32_t{std::numeric_limits<std::int32_t>::max()})});
    values.push_back({"Long 65536", Variant(std::int32_t{65536})});
    values.push_back({"unsigned 0xFFFFFFFF", Variant(0xFFFFFFFFul)});
    values.push_back({"unsigned 0x80000005", Variant(0x80000005ul)});
    values.push_back({"64-bit largest", Typed(VT_I8, [](VARIANT& v) { V_I8(&v) = std::numeric_limits<LONGLONG>::max(); })});
    values.push_back({"64-bit smallest", Typed(VT_I8, [](VARIANT& v) { V_I8(&v) = std::numeric_limits<LONGLONG>::min(); })});
    values.push_back({"Byte 255", Variant::Byte(255)});
    values.push_back({"Single NaN", Variant(std::numeric_limits<float>::quiet_NaN())});
    values.push_back({"Single 3e38", Variant(3e38f)});
    values.push_back({"Double 1e300", Variant(1e300)});
    values.push_back({"Double -1e300", Variant(-1e300)});
    values.push_back({"Double NaN", Variant(nan)});
    values.push_back({"Double infinity", Variant(infinity)});
    values.push_back({"Double -infinity", Variant(-infinity)});
    values.push_back({"Double 0.5", Variant(0.5)});
    values.push_back({"Double -0.5", Variant(-0.5)});
    values.push_back({"Currency largest", Variant::Currency(std::numeric_limits<LONGLONG>::max())});
    values.push_back({"Date 1e10", Typed(VT_DATE, [](VARIANT& v) { V_DATE(&v) = 1e10; })});
    values.push_back({"Date -1e10", Typed(VT_DATE, [](VARIANT& v) { V_DATE(&v) = -1e10; })});
    values.push_back({"Decimal 1e28", Typed(VT_DECIMAL, [](VARIANT& v) {
                          (void)::VarDecFromR8(1e28, &V_DECIMAL(&v));
                          V_VT(&v) = VT_DECIMAL;
                      })});
    values.push_back({"Boolean True", Variant(true)});
    values.push_back({"Boolean False", Variant(false)});
    values.push_back({"a font", StoredFont()});
    values.push_back({"a picture", StoredPicture()});
    values.push_back({"a stream object", StoredStream()});
    values.push_back({"Nothing", Variant::Nothing()});
    values.push_back({"array of texts", Variant::StringArray({L"1", L"2"})});
    values.push_back({"2-D array of Longs", LongMatrix()});
    return values;
}

std::vector<HostileValue> HostileValuesToTry(size_t emulatedStride) {
    std::vector<HostileValue> all = HostileValues();
    if (!RunsUnderCpuEmulator() || emulatedStride < 2) return all;
    std::vector<HostileValue> some;
    for (size_t i = 0; i < all.size(); i += emulatedStride) some.push_back(std::move(all[i]));
    return some;
}

std::wstring DescribeFont(IUnknown* object) {
    com_ptr<IFont> font = com_ptr<IUnknown>(object).query<IFont>();
    if (!font) return L"(no font)";
    BSTR rawName = nullptr;
    CY size{};
    BOOL bold = FALSE, italic = FALSE;
    (void)font->get_Name(&rawName);
    const unique_bstr name(rawName);
    (void)font->get_Size(&size);
    (void)font->get_Bold(&bold);
    (void)font->get_Italic(&italic);
    return L"font " + std::wstring(name.get() ? name.get() : L"") + L" " + std::to_wstring(size.int64 / 100) +
           L"/100 pt" + (bold ? L" bold" : L"") + (italic ? L" italic" : L"");
}

std::wstring Describe(const Variant& value, VARTYPE type) {
    if (type == VT_DISPATCH)
        return value.IsObject() && value.get().punkVal ? DescribeFont(value.get().punkVal) : L"(no font)";
    VARIANT converted;
    ::VariantInit(&converted);
    if (FAILED(::VariantChangeType(&converted, const_cast<VARIANT*>(&value.get()), 0, type)))
        return L"(unreadable " + value.Describe() + L")";
    const Variant owned = Variant::Attach(converted);
    switch (type) {
        case VT_I2: return std::to_wstring(V_I2(&owned.get()));
        case VT_I4: return std::to_wstring(V_I4(&owned.get()));
        case VT_BOOL: return V_BOOL(&owned.get()) ? L"True" : L"False";
        default: {
            const BSTR text = V_BSTR(&owned.get());
            return L"\"" + std::wstring(text, ::SysStringLen(text)) + L"\"";
        }
    }
}

std::wstring Saved(const MemoryPropertyBag& bag, const PersistedKey& key) {
    const std::optional<Variant> stored = bag.Get(key.name);
    return stored ? Describe(*stored, key.type) : key.absent(bag);
}

std::optional<std::wstring> ReadableAs(const Variant& stored, const PersistedKey& key) {
    if (key.type == VT_DISPATCH) {
        if (!stored.IsObject() || !stored.get().punkVal) return std::nullopt;
        if (!com_ptr<IUnknown>(stored.get().punkVal).query<IFont>()) return std::nullopt;
        return DescribeFont(stored.get().punkVal);
    }
    VARIANT converted;
    ::VariantInit(&converted);
    if (FAILED(::VariantChangeType(&converted, const_cast<VARIANT*>(&stored.get()), 0, key.type)))
        return std::nullopt;
    const Variant owned = Variant::Attach(converted);
    if (key.accepts && !key.accepts(owned)) return std::nullopt;
    return Describe(owned, key.type);
}

HostileTally TryHostileValues(const std::vector<PersistedKey>& keys, const MemoryPropertyBag& present,
                              const MemoryPropertyBag& empty, size_t emulatedStride,
                              const LoadAndSaveFunction& loadAndSave) {
    HostileTally tally;
    const std::vector<HostileValue> values = HostileValuesToTry(emulatedStride);
    for (bool bagConverts : {true, false}) {
        // Through the emulator one pass is enough to meet every value.
        if (!bagConverts && RunsUnderCpuEmulator()) break;
        for (const HostileValue& value : values) {
            SCOPED_TRACE(value.what + (bagConverts ? ", converted by the bag" : ", converted by the control"));
            MemoryPropertyBag bag, saved;
            bag.AnswerStoredTypes(!bagConverts);
            for (const PersistedKey& key : keys) bag.Set(key.name, value.value);
            EXPECT_TRUE(loadAndSave(bag, saved));
            for (const PersistedKey& key : keys) {
                const std::optional<std::wstring> readable = ReadableAs(value.value, key);
                const std::wstring kept = Saved(present, key);
                EXPECT_EQ(Narrow(Saved(saved, key)), Narrow(readable.value_or(kept))) << Narrow(key.name);
                tally.Add(readable                        ? "read as the converted value"
                          : kept == key.absent(empty) ? "kept its present value, the default"
                                                      : "kept its present value");
            }
        }
    }
    return tally;
}

std::string HostileTally::Summary() const {
    std::string text = std::to_string(tried) + " tried:";
    for (const auto& [outcome, count] : outcomes) text += " " + outcome + " " + std::to_string(count) + ";";
    return text;
}

std::vector<BYTE> Truncated(const std::vector<BYTE>& bytes, size_t length) {
    return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(length, bytes.size()))};
}

std::vector<BYTE> Flipped(const std::vector<BYTE>& bytes, size_t at) {
    std::vector<BYTE> damaged = bytes;
    if (at < damaged.size()) damaged[at] = static_cast<BYTE>(~damaged[at]);
    return damaged;
}

com_ptr<IStorage> StorageInMemory() {
    com_ptr<ILockBytes> lockBytes;
    com_ptr<IStorage> storage;
    if (FAILED(::CreateILockBytesOnHGlobal(nullptr, TRUE, lockBytes.put())) ||
        FAILED(::StgCreateDocfileOnILockBytes(lockBytes.get(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                                              storage.put())))
        throw std::runtime_error("cannot make a storage in memory");
    return storage;
}

com_ptr<IStorage> StorageWithContents(const std::vector<BYTE>& bytes) {
    com_ptr<IStorage> storage = StorageInMemory();
    com_ptr<IStream> contents;
    if (FAILED(storage->CreateStream(L"Contents", STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                     contents.put())))
        throw std::runtime_error("cannot make a storage in memory");
    ULONG written = 0;
    if (!bytes.empty() && FAILED(contents->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written)))
        throw std::runtime_error("cannot fill the Contents stream");
    return storage;
}

std::vector<size_t> OffsetsToTry(size_t size, size_t emulatedStride) {
    const size_t stride = RunsUnderCpuEmulator() ? std::max<size_t>(emulatedStride, 1) : 1;
    std::vector<size_t> offsets;
    for (size_t at = 0; at < size; at += stride) offsets.push_back(at);
    if (size && offsets.back() != size - 1) offsets.push_back(size - 1);
    return offsets;
}

namespace {

com_ptr<IUnknown> NewControl(const CLSID& clsid) {
    com_ptr<IUnknown> control;
    const HRESULT hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, control.put_void());
    if (FAILED(hr)) throw std::runtime_error("cannot create the control: " + HResultText(hr));
    return control;
}

HRESULT Load(IUnknown& control, const std::vector<BYTE>& bytes, SavedMedium medium) {
    if (medium == SavedMedium::Storage) {
        const com_ptr<IStorage> storage = StorageWithContents(bytes);
        com_ptr<IPersistStorage> persist = com_ptr<IUnknown>(&control).query<IPersistStorage>();
        return persist ? persist->Load(storage.get()) : E_NOINTERFACE;
    }
    const MemoryStream stream = MemoryStream::FromBytes(bytes);
    com_ptr<IPersistStreamInit> persist = com_ptr<IUnknown>(&control).query<IPersistStreamInit>();
    return persist ? persist->Load(stream.get()) : E_NOINTERFACE;
}

// Saves through IPersistStreamInit; nullopt when the control refuses.
std::optional<std::vector<BYTE>> SaveOf(IUnknown& control, HRESULT& hr) {
    MemoryStream stream;
    com_ptr<IPersistStreamInit> persist = com_ptr<IUnknown>(&control).query<IPersistStreamInit>();
    hr = persist ? persist->Save(stream.get(), TRUE) : E_NOINTERFACE;
    if (FAILED(hr)) return std::nullopt;
    return stream.Bytes();
}

}  // namespace

const char* NameOf(SavedMedium medium) noexcept {
    return medium == SavedMedium::Stream ? "IPersistStreamInit" : "IPersistStorage";
}

const char* NameOf(Damage damage) noexcept { return damage == Damage::CutShort ? "cut short" : "one byte inverted"; }

std::vector<DamageRun> EveryDamageRun(size_t parts) {
    std::vector<DamageRun> runs;
    for (SavedMedium medium : {SavedMedium::Stream, SavedMedium::Storage})
        for (Damage damage : {Damage::CutShort, Damage::ByteInverted})
            for (size_t part = 0; part < parts; ++part) runs.push_back({medium, damage, part, parts});
    return runs;
}

std::string NameOf(const DamageRun& run) {
    return std::string(run.medium == SavedMedium::Stream ? "Stream" : "Storage") + "_" +
           (run.damage == Damage::CutShort ? "CutShort" : "ByteInverted") + "_" + std::to_string(run.part + 1) +
           "of" + std::to_string(run.parts);
}

void PrintTo(const DamageRun& run, std::ostream* out) { *out << NameOf(run); }

void LoadDamagedCopies(const CLSID& clsid, const std::vector<BYTE>& saved, const DamageRun& run,
                       size_t emulatedStride, const std::function<void(IUnknown& control)>& consistent,
                       HostileTally& tally) {
    const SavedMedium medium = run.medium;
    com_ptr<IUnknown> control = NewControl(clsid);
    const auto tryLoad = [&](const std::vector<BYTE>& damaged, const std::string& what) {
        SCOPED_TRACE(what);
        const HRESULT hr = Load(*control.get(), damaged, medium);
        HRESULT saveHr = S_OK;
        if (FAILED(hr)) {
            EXPECT_NE(hr, E_UNEXPECTED) << "the control was left loaded by an earlier input";
            EXPECT_FALSE(SaveOf(*control.get(), saveHr)) << "an unloaded control saved something";
            tally.Add("clean error " + HResultText(hr));
            return;
        }
        EXPECT_EQ(hr, S_OK);
        consistent(*control.get());
        EXPECT_TRUE(SaveOf(*control.get(), saveHr)) << "saving again failed: " << HResultText(saveHr);
        tally.Add("consistent state, saved again");
        control = NewControl(clsid);
    };
    const size_t first = saved.size() * run.part / run.parts, end = saved.size() * (run.part + 1) / run.parts;
    for (size_t at : OffsetsToTry(saved.size(), emulatedStride)) {
        if (at < first || at >= end) continue;
        if (run.damage == Damage::CutShort)
            tryLoad(Truncated(saved, at), "cut to " + std::to_string(at) + " bytes");
        else
            tryLoad(Flipped(saved, at), "byte " + std::to_string(at) + " inverted");
    }

    ASSERT_EQ(Load(*control.get(), saved, medium), S_OK) << "the intact data no longer loads";
    HRESULT saveHr = S_OK;
    const std::optional<std::vector<BYTE>> again = SaveOf(*control.get(), saveHr);
    ASSERT_TRUE(again) << HResultText(saveHr);
    EXPECT_EQ(*again, saved) << "the intact data saves back differently";
}

}  // namespace zo::test
