// What the exe carries for Windows itself, read as Windows reads it: the application
// manifest (resource 24, id 1) and the version information that Explorer shows.
#include "harness.h"

#include <winver.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::wstring ExePath()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"CHARTXFER_EXE", path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

// The exe's resources without running it.
class ShippedExe : public ::testing::Test {
protected:
    void SetUp() override
    {
        path_ = ExePath();
        ASSERT_FALSE(path_.empty()) << "CHARTXFER_EXE is not set";
        module_ = LoadLibraryExW(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << "cannot load " << e2e::Utf8(path_);
    }

    void TearDown() override
    {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }

    // A resource of the neutral block, as bytes; empty when there is none.
    std::string Neutral(LPCSTR type, WORD id)
    {
        HRSRC found = FindResourceExA(module_, type, MAKEINTRESOURCEA(id),
                                      MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
        HGLOBAL loaded = found != nullptr ? LoadResource(module_, found) : nullptr;
        const char *data = loaded != nullptr ? (const char *)LockResource(loaded) : nullptr;
        return data != nullptr ? std::string(data, SizeofResource(module_, found)) : "";
    }

    std::wstring path_;
    HMODULE module_ = nullptr;
};

TEST_F(ShippedExe, ItsManifestRunsItAsInvokerOnVistaToElevenAndDpiAware)
{
    std::string manifest = Neutral(RT_MANIFEST, 1);
    ASSERT_FALSE(manifest.empty()) << "no manifest (resource 24, id 1) in the neutral block";
    const struct {
        const char *what;
        const char *text;
    } entries[] = {
        {"execution level", "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"},
        {"Windows Vista", "<supportedOS Id=\"{e2011457-1546-43c5-a5fe-008deee3d3f0}\"/>"},
        {"Windows 7", "<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>"},
        {"Windows 8", "<supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>"},
        {"Windows 8.1", "<supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>"},
        {"Windows 10 and 11", "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"},
        {"DPI awareness",
         "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true"
         "</dpiAware>"},
    };
    for (const auto &entry : entries) {
        EXPECT_NE(manifest.find(entry.text), std::string::npos)
            << entry.what << ": " << entry.text << " is not in the manifest";
    }

    // The loader's own reading: an activation context made from the manifest, as
    // CreateProcess makes one; a manifest it cannot read keeps the program from starting.
    ACTCTXW context = {};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = path_.c_str();
    context.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE activation = CreateActCtxW(&context);
    EXPECT_NE(activation, INVALID_HANDLE_VALUE)
        << "the manifest does not load (error " << GetLastError() << ")";
    if (activation != INVALID_HANDLE_VALUE) {
        ReleaseActCtx(activation);
    }
}

TEST_F(ShippedExe, ItsVersionInformationIsComplete)
{
    ASSERT_FALSE(Neutral(RT_VERSION, 1).empty()) << "no version information in the neutral block";

    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path_.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(path_.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", (void **)&fixed, &length));
    EXPECT_EQ(fixed->dwFileVersionMS, (DWORD)MAKELONG(10, 1));  // 1.10
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, (DWORD)MAKELONG(10, 1));
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);

    // The strings of the one translation: language neutral, Unicode.
    struct Translation {
        WORD language, codePage;
    } *translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                               (void **)&translation, &length));
    ASSERT_EQ(length, sizeof(Translation));
    EXPECT_EQ(translation->language, 0);
    EXPECT_EQ(translation->codePage, 1200);

    const struct {
        const wchar_t *name;
        const wchar_t *value;
    } strings[] = {
        {L"CompanyName", L"VORNIX"},
        {L"FileDescription", L"VORNIX Chart Transfer: import and export of measurement charts"},
        {L"FileVersion", L"1.10"},
        {L"InternalName", L"chartxfer"},
        {L"LegalCopyright", L"Copyright \u00A9 VORNIX"},
        {L"OriginalFilename", L"chartxfer.exe"},
        {L"ProductName", L"Chart Transfer"},
        {L"ProductVersion", L"1.10"},
    };
    for (const auto &entry : strings) {
        std::wstring key = std::wstring(L"\\StringFileInfo\\000004b0\\") + entry.name;
        wchar_t *value = nullptr;
        SCOPED_TRACE(e2e::Utf8(entry.name));
        ASSERT_TRUE(VerQueryValueW(info.data(), key.c_str(), (void **)&value, &length))
            << "missing";
        EXPECT_EQ(e2e::Utf8(value), e2e::Utf8(entry.value));
    }
}

}  // namespace
