#include "TestFiles.h"
#include "platform/UniqueHandle.h"
#include "ui/resource.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace
{
// Quorlin.exe loaded as data: its resources can be read, none of its code runs.
class BuiltProgram : public ::testing::Test
{
  protected:
    BuiltProgram()
        : m_path(ExecutableDirectory() / L"Quorlin.exe"),
          m_module(LoadLibraryExW(m_path.c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE))
    {
    }

    std::string_view Resource(const wchar_t* type, const wchar_t* name) const
    {
        const HRSRC found = FindResourceW(m_module.Get(), name, type);
        if (!found)
            return {};
        return {static_cast<const char*>(LockResource(LoadResource(m_module.Get(), found))),
                SizeofResource(m_module.Get(), found)};
    }

    std::filesystem::path m_path;
    UniqueResource<HMODULE, &::FreeLibrary> m_module;
};

// Reads a dialog template: DLGTEMPLATEEX followed by DLGITEMTEMPLATEEX entries.
class TemplateReader
{
  public:
    explicit TemplateReader(std::string_view data) : m_data(data) {}
    template <class T> T Read()
    {
        T value{};
        std::memcpy(&value, m_data.data() + m_at, sizeof(T));
        m_at += sizeof(T);
        return value;
    }
    // A name, or an ordinal written as "#<number>".
    std::wstring NameOrOrdinal()
    {
        const auto first = Read<WORD>();
        if (first == 0)
            return L"";
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(Read<WORD>());
        std::wstring text(1, static_cast<wchar_t>(first));
        for (WORD c; (c = Read<WORD>()) != 0;)
            text += static_cast<wchar_t>(c);
        return text;
    }
    // A control's class: the predefined ones may be stored as ordinals.
    std::wstring ClassName()
    {
        const std::wstring name = NameOrOrdinal();
        if (name == L"#128")
            return L"BUTTON";
        if (name == L"#129")
            return L"EDIT";
        if (name == L"#130")
            return L"STATIC";
        return name;
    }
    void AlignTo4() { m_at = (m_at + 3) & ~std::size_t{3}; }

  private:
    std::string_view m_data;
    std::size_t m_at = 0;
};

struct Control
{
    DWORD exStyle;
    DWORD style;
    short x, y, cx, cy;
    int id;
    std::wstring className;
    std::wstring text;
    bool operator==(const Control&) const = default;
};

struct Template
{
    DWORD exStyle;
    DWORD style;
    short x, y, cx, cy;
    std::wstring menu, className, caption;
    WORD pointSize, weight;
    BYTE italic, charset;
    std::wstring face;
    std::vector<Control> controls;
};

Template ReadTemplate(std::string_view data)
{
    TemplateReader reader(data);
    Template t{};
    EXPECT_EQ(reader.Read<WORD>(), 1);
    EXPECT_EQ(reader.Read<WORD>(), 0xFFFF);
    reader.Read<DWORD>();
    t.exStyle = reader.Read<DWORD>();
    t.style = reader.Read<DWORD>();
    const WORD count = reader.Read<WORD>();
    t.x = reader.Read<short>(), t.y = reader.Read<short>(), t.cx = reader.Read<short>(),
    t.cy = reader.Read<short>();
    t.menu = reader.NameOrOrdinal();
    t.className = reader.NameOrOrdinal();
    t.caption = reader.NameOrOrdinal();
    t.pointSize = reader.Read<WORD>();
    t.weight = reader.Read<WORD>();
    t.italic = reader.Read<BYTE>();
    t.charset = reader.Read<BYTE>();
    t.face = reader.NameOrOrdinal();
    for (WORD i = 0; i < count; ++i)
    {
        reader.AlignTo4();
        Control c{};
        reader.Read<DWORD>();
        c.exStyle = reader.Read<DWORD>();
        c.style = reader.Read<DWORD>();
        c.x = reader.Read<short>(), c.y = reader.Read<short>(), c.cx = reader.Read<short>(),
        c.cy = reader.Read<short>();
        c.id = static_cast<int>(reader.Read<DWORD>());
        c.className = reader.ClassName();
        c.text = reader.NameOrOrdinal();
        const WORD extra = reader.Read<WORD>();
        for (WORD k = 0; k < extra; ++k)
            reader.Read<BYTE>();
        t.controls.push_back(c);
    }
    return t;
}

std::string Describe(const Control& c)
{
    char text[160];
    std::snprintf(text, sizeof(text), "id %d style %08lX ex %08lX at %d,%d %dx%d", c.id, c.style, c.exStyle,
                  c.x, c.y, c.cx, c.cy);
    return text;
}

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

TEST_F(BuiltProgram, TheMainDialogTemplateIsExactlyTheLayout)
{
    ASSERT_TRUE(m_module);
    const Template t = ReadTemplate(Resource(RT_DIALOG, MAKEINTRESOURCEW(IDD_MAIN_DIALOG)));
    EXPECT_EQ(t.style, static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                                          WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN | DS_SHELLFONT));
    EXPECT_EQ(t.exStyle, static_cast<DWORD>(WS_EX_APPWINDOW));
    EXPECT_EQ((std::vector<short>{t.x, t.y, t.cx, t.cy}), (std::vector<short>{0, 0, 321, 235}));
    EXPECT_EQ(t.menu, L"");
    EXPECT_EQ(t.className, L"");
    EXPECT_EQ(t.caption, L"SignTool GUI");
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.weight, 0);
    EXPECT_EQ(t.italic, 0);
    EXPECT_EQ(t.charset, 1);
    EXPECT_EQ(t.face, L"MS Shell Dlg");

    const std::vector<Control> expected = {
        {0, BS_DEFPUSHBUTTON | kChild | WS_TABSTOP, 113, 214, 92, 14, IDOK, L"BUTTON", L"Sign"},
        {0, BS_PUSHBUTTON | WS_CHILD | WS_TABSTOP, 264, 214, 50, 14, IDCANCEL, L"BUTTON", L"Close"},
        {0,
         ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_VSCROLL | WS_HSCROLL | kChild | WS_BORDER |
             WS_TABSTOP,
         7, 7, 307, 77, IDC_FILE_LIST, L"EDIT", L""},
        {0,
         ES_MULTILINE | ES_AUTOHSCROLL | ES_READONLY | WS_VSCROLL | WS_HSCROLL | kChild | WS_BORDER |
             WS_TABSTOP,
         7, 109, 307, 56, IDC_LOG, L"EDIT", L""},
        {0, BS_PUSHBUTTON | kChild | WS_TABSTOP, 264, 88, 50, 14, IDC_SAVE, L"BUTTON", L"Save"},
        {0, BS_PUSHBUTTON | kChild | WS_TABSTOP, 7, 88, 50, 14, IDC_CLEAR, L"BUTTON", L"Clear"},
        {0, ES_AUTOHSCROLL | ES_READONLY | kChild | WS_BORDER | WS_TABSTOP, 7, 170, 281, 14, IDC_TOOL_PATH,
         L"EDIT", L""},
        {0, BS_PUSHBUTTON | kChild | WS_TABSTOP, 293, 170, 21, 14, IDC_BROWSE, L"BUTTON", L"..."},
        {0, SS_LEFT | kChild | WS_GROUP, 7, 190, 248, 8, 0xFFFF, L"STATIC",
         L"command: signtool sign /tr [sectigo timestamp] /td sha256 /fd sha256 /a [file]"},
    };
    ASSERT_EQ(t.controls.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
    {
        Control actual = t.controls[i];
        actual.id &= 0xFFFF; // IDC_STATIC is stored as -1 in 16 or 32 bits
        Control wanted = expected[i];
        wanted.id &= 0xFFFF;
        EXPECT_EQ(actual, wanted) << "control " << i << ": " << Describe(actual);
    }
}

TEST_F(BuiltProgram, TheAboutBoxTemplateIsExactlyTheLayout)
{
    ASSERT_TRUE(m_module);
    const Template t = ReadTemplate(Resource(RT_DIALOG, MAKEINTRESOURCEW(IDD_ABOUTBOX)));
    EXPECT_EQ(t.style, static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SHELLFONT));
    EXPECT_EQ(t.exStyle, 0u);
    EXPECT_EQ((std::vector<short>{t.x, t.y, t.cx, t.cy}), (std::vector<short>{0, 0, 170, 62}));
    EXPECT_EQ(t.caption, L"About Quorlin");
    EXPECT_EQ(t.face, L"MS Shell Dlg");
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.charset, 1);
    const std::vector<Control> expected = {
        {0, SS_ICON | kChild, 14, 14, 21, 20, 0xFFFF, L"STATIC", L"#128"},
        {0, SS_LEFT | SS_NOPREFIX | kChild | WS_GROUP, 42, 14, 114, 8, 0xFFFF, L"STATIC",
         L"Quorlin, Version 1.0"},
        {0, SS_LEFT | kChild | WS_GROUP, 42, 26, 114, 8, 0xFFFF, L"STATIC", L"Copyright (C) 2026"},
        {0, BS_DEFPUSHBUTTON | kChild | WS_GROUP | WS_TABSTOP, 113, 41, 50, 14, IDOK, L"BUTTON", L"OK"},
    };
    ASSERT_EQ(t.controls.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
    {
        Control actual = t.controls[i];
        actual.id &= 0xFFFF;
        EXPECT_EQ(actual, expected[i]) << "control " << i << ": " << Describe(actual);
    }
}

TEST_F(BuiltProgram, HoldsTheAboutTextAndThirteenIconImages)
{
    ASSERT_TRUE(m_module);
    wchar_t text[64] = {};
    LoadStringW(m_module.Get(), IDS_ABOUTBOX, text, 64);
    EXPECT_STREQ(text, L"&About Quorlin...");

    const std::string_view group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_GE(group.size(), 6u);
    WORD count = 0;
    std::memcpy(&count, group.data() + 4, 2);
    ASSERT_EQ(count, 13);
    std::set<std::pair<int, int>> images;
    for (WORD i = 0; i < count; ++i)
    {
        const char* entry = group.data() + 6 + i * 14;
        const int size = static_cast<BYTE>(entry[0]) == 0 ? 256 : static_cast<BYTE>(entry[0]);
        WORD bits = 0;
        WORD id = 0;
        std::memcpy(&bits, entry + 6, 2);
        std::memcpy(&id, entry + 12, 2);
        images.insert({size, bits});

        const std::string_view image = Resource(RT_ICON, MAKEINTRESOURCEW(id));
        if (size == 256)
            EXPECT_EQ(image.substr(0, 4), "\x89PNG");
        else
        {
            BITMAPINFOHEADER header{};
            ASSERT_GE(image.size(), sizeof(header));
            std::memcpy(&header, image.data(), sizeof(header));
            EXPECT_EQ(header.biWidth, size);
            EXPECT_EQ(header.biHeight, size * 2);
            EXPECT_EQ(header.biBitCount, bits);
        }
    }
    std::set<std::pair<int, int>> expected = {{256, 32}};
    for (const int size : {16, 24, 32, 48})
        for (const int bits : {4, 8, 32})
            expected.insert({size, bits});
    EXPECT_EQ(images, expected);
}

TEST_F(BuiltProgram, DeclaresCommonControlsSixRunsAsInvokerIsPerMonitorDpiAwareAndLongPathAware)
{
    ASSERT_TRUE(m_module);
    const std::string manifest(Resource(RT_MANIFEST, MAKEINTRESOURCEW(1)));
    for (const char* wanted :
         {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", "processorArchitecture=\"amd64\"",
          "publicKeyToken=\"6595b64144ccf1df\"",
          "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>", ">true</dpiAware>",
          ">PerMonitorV2, PerMonitor</dpiAwareness>", ">true</longPathAware>"})
        EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;
}

TEST_F(BuiltProgram, CarriesItsVersion)
{
    DWORD ignored = 0;
    std::vector<char> info(GetFileVersionInfoSizeW(m_path.c_str(), &ignored));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoW(m_path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    for (const auto& [name, value] : {std::pair{L"FileDescription", L"Quorlin"},
                                      {L"InternalName", L"Quorlin.exe"},
                                      {L"OriginalFilename", L"Quorlin.exe"},
                                      {L"FileVersion", L"1.0.0.1"}})
    {
        wchar_t* text = nullptr;
        const std::wstring path = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
        ASSERT_TRUE(VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &length));
        EXPECT_STREQ(text, value);
    }
}

TEST_F(BuiltProgram, HasWindowsTakeTheDllsItImportsFromSystem32Only)
{
    ASSERT_TRUE(m_module);
    // Mapped as an image: the module's address, less the flag bits of the mapping, is where the image begins.
    const auto* image =
        reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(m_module.Get()) & ~ULONG_PTR{3});
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS64*>(
        image + reinterpret_cast<const IMAGE_DOS_HEADER*>(image)->e_lfanew);
    const IMAGE_DATA_DIRECTORY directory =
        headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_LOAD_CONFIG];
    ASSERT_NE(directory.VirtualAddress, 0u) << "the program has no load configuration";
    const BYTE* loadConfig = image + directory.VirtualAddress;
    // DependentLoadFlags, a WORD at 0x4E, is read only when the structure's own size reaches past it.
    DWORD size = 0;
    WORD dependentLoadFlags = 0;
    std::memcpy(&size, loadConfig, sizeof(size));
    ASSERT_GE(size, 0x50u);
    std::memcpy(&dependentLoadFlags, loadConfig + 0x4E, sizeof(dependentLoadFlags));
    EXPECT_EQ(dependentLoadFlags, LOAD_LIBRARY_SEARCH_SYSTEM32);
}
} // namespace
