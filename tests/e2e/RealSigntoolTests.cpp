// Quorlin.exe driving Microsoft's own signtool.exe, as far as Wine lets the real tool run: it chooses the
// certificate and looks for each file it is given, and there it stops, since Wine cannot make a signature.
// What the tool says of the command line it got (an option it does not know, a path cut at a space) is its
// own text in the log, so these scenarios assert the tool's words: its verdict on each file, in order, and
// not the rest, which differs between versions of the tool (10.0.22621 on one hosted runner, 10.0.26100 on
// another and here).

#include "CertificateStore.h"
#include "Driver.h"
#include "Scenario.h"
#include "toolpath/ToolDiscovery.h"
#include "ui/resource.h"
#include "windows/Eventually.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <list>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{
constexpr wchar_t kTestSigner[] = L"Quorlin Test Signer";

// The run's first and last lines and, between them, the lines that give the tool's verdict on a file, in
// order, with their line ends taken off (the tool's C runtime writes CR CR LF).
std::vector<std::wstring> Verdicts(const std::wstring& log)
{
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start <= log.size())
    {
        const std::size_t end = std::min(log.find(L'\n', start), log.size());
        std::wstring line = log.substr(start, end - start);
        while (line.ends_with(L'\r'))
            line.pop_back();
        if (line.starts_with(L"SignTool Error: ") || line == L"Starting..." || line == L"Finished!")
            lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The registry part of the current user's "My" store, where signtool's /a looks for a signing certificate.
// Wine writes it when it is closed, and forgets a deletion made through the whole system store.
UniqueCertStore OpenPersonalStore()
{
    return UniqueCertStore(
        CertOpenStore(CERT_STORE_PROV_SYSTEM_REGISTRY_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"My"));
}

void RemoveTestSigners()
{
    const UniqueCertStore store = OpenPersonalStore();
    for (;;)
    {
        const PCCERT_CONTEXT found = CertFindCertificateInStore(
            store.Get(), X509_ASN_ENCODING, 0, CERT_FIND_SUBJECT_STR_W, kTestSigner, nullptr);
        if (!found)
            return;
        CertDeleteCertificateFromStore(found);
    }
}

bool ImportTestSigner(const fs::path& pfx)
{
    std::string bytes = ReadBytes(pfx);
    CRYPT_DATA_BLOB blob{static_cast<DWORD>(bytes.size()), reinterpret_cast<BYTE*>(bytes.data())};
    const UniqueCertStore imported(PFXImportCertStore(&blob, L"", CRYPT_USER_KEYSET));
    const UniqueCertStore store = OpenPersonalStore();
    if (!imported || !store)
        return false;
    bool added = false;
    for (PCCERT_CONTEXT certificate = CertEnumCertificatesInStore(imported.Get(), nullptr); certificate;
         certificate = CertEnumCertificatesInStore(imported.Get(), certificate))
        added |= CertAddCertificateContextToStore(store.Get(), certificate, CERT_STORE_ADD_REPLACE_EXISTING,
                                                  nullptr) != FALSE;
    return added;
}

// The real signtool.exe, given by QUORLIN_TEST_REAL_SIGNTOOL (tools/test fetches Microsoft's), put where the
// Windows SDK installs it, so that Quorlin finds it by itself; and a personal certificate store that holds no
// signing certificate of the tests' until a scenario imports one.
class RealSigntool : public Scenario
{
  protected:
    void SetUp() override
    {
        Scenario::SetUp();
        if (IsSkipped())
            return;
        const fs::path tool = EnvironmentValue(L"QUORLIN_TEST_REAL_SIGNTOOL");
        if (tool.empty())
            GTEST_SKIP() << "QUORLIN_TEST_REAL_SIGNTOOL names no signtool.exe; tools/test sets it to "
                            "Microsoft's, fetched and checked";
        WithoutTheSdksSigntool();
        const fs::path placed = kDefaultSigningToolPath;
        // What is put in place is removed at the end: the files, and the highest folder that had to be made.
        for (fs::path above = placed.parent_path(); !fs::exists(above); above = above.parent_path())
            m_createdFolder = above;
        fs::create_directories(placed.parent_path());
        m_placed.emplace_back(tool, placed);
        // With the files beside it, as the SDK's folder has them: the tool may need some of them.
        for (const fs::directory_entry& beside : fs::directory_iterator(tool.parent_path()))
        {
            const fs::path besidePlaced = placed.parent_path() / beside.path().filename();
            if (beside.is_regular_file() && beside.path() != tool && !fs::exists(besidePlaced))
                m_placed.emplace_back(beside.path(), besidePlaced);
        }
        wchar_t system[MAX_PATH] = L"";
        GetSystemDirectoryW(system, MAX_PATH);
        if (!fs::exists(fs::path(system) / L"MFC42.dll"))
            m_placed.emplace_back(ExecutableDirectory() / L"mfc42" / L"MFC42.dll",
                                  placed.parent_path() / L"MFC42.dll");
        RemoveTestSigners();
    }

    void TearDown() override
    {
        if (m_placed.empty())
            return;
        RemoveTestSigners();
        m_placed.clear();
        std::error_code ignored;
        if (!m_createdFolder.empty())
            fs::remove_all(m_createdFolder, ignored);
    }

  private:
    std::list<PlacedFile> m_placed;
    fs::path m_createdFolder;
};

TEST_F(RealSigntool, WithoutASigningCertificateTheToolRefusesEachFileAndTheRunFinishes)
{
    const std::wstring refused =
        L"SignTool Error: No certificates were found that met all the given criteria.";
    EXPECT_EQ(Verdicts(SignWithTheFoundTool(L"C:\\Release\\Setup.exe\r\nC:\\Release\\App Core.dll")),
              (std::vector<std::wstring>{L"Starting...", refused, refused, L"Finished!"}));
}

TEST_F(RealSigntool, WithACertificateTheToolLooksForEachWholePathWithItsSpaces)
{
    const fs::path pfx = EnvironmentValue(L"QUORLIN_TEST_CERTIFICATE");
    ASSERT_FALSE(pfx.empty()) << "QUORLIN_TEST_CERTIFICATE names no PFX; tools/test makes one with "
                                 "tests/e2e/make-test-certificate";
    ASSERT_TRUE(ImportTestSigner(pfx));
    // No file exists: the tool has chosen the certificate and then reports the path it was given. A path from
    // the root of the current drive and a name that begins with a dash reach it as files, never as options;
    // Quorlin runs in the scenario's folder.
    const std::wstring setup = (m_folder / L"Release build" / L"Setup tool.exe").wstring();
    const std::wstring library = (m_folder / L"App Core.dll").wstring();
    const std::wstring fromTheRoot = m_folder.Path().root_name().wstring() + L"\\builds\\app.exe";
    const std::wstring dashed = (m_folder / L"-draft.exe").wstring();
    const std::wstring notFound = L"SignTool Error: File not found: ";
    EXPECT_EQ(
        Verdicts(SignWithTheFoundTool(setup + L"\r\n" + library + L"\r\n/builds/app.exe\r\n-draft.exe")),
        (std::vector<std::wstring>{L"Starting...", notFound + setup, notFound + library,
                                   notFound + fromTheRoot, notFound + dashed, L"Finished!"}));
}
} // namespace
