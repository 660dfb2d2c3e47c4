// A real signature, made by Quorlin.exe with the Windows SDK's own signtool.exe and checked by Windows. It
// needs what Wine cannot give: Windows, the SDK, a code-signing certificate that Windows trusts, and the
// time-stamping service in reach. The CI workflow's Windows job has them and declares them, and names the
// SDK's signtool.exe that Quorlin is to find by itself: on an image with only a versioned SDK, the newest.

#include "CertificateStore.h"
#include "Scenario.h"

#include <gtest/gtest.h>
#include <softpub.h>
#include <windows.h>
#include <wintrust.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{
using UniqueCryptMessage = UniqueResource<HCRYPTMSG, &::CryptMsgClose>;
using UniqueCertificate = UniqueResource<PCCERT_CONTEXT, &::CertFreeCertificateContext>;

// What Windows' Authenticode policy says of the file's signature: ERROR_SUCCESS when it is valid and its
// certificate is trusted. Revocation is not asked: a self-signed certificate names no revocation list.
LONG VerifyAuthenticode(const fs::path& file)
{
    WINTRUST_FILE_INFO fileInfo{};
    fileInfo.cbStruct = sizeof(fileInfo);
    fileInfo.pcwszFilePath = file.c_str();
    WINTRUST_DATA trust{};
    trust.cbStruct = sizeof(trust);
    trust.dwUIChoice = WTD_UI_NONE;
    trust.fdwRevocationChecks = WTD_REVOKE_NONE;
    trust.dwUnionChoice = WTD_CHOICE_FILE;
    trust.pFile = &fileInfo;
    trust.dwStateAction = WTD_STATEACTION_VERIFY;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    const auto noWindow = static_cast<HWND>(INVALID_HANDLE_VALUE);
    const LONG verdict = WinVerifyTrust(noWindow, &action, &trust);
    trust.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(noWindow, &action, &trust);
    return verdict;
}

struct EmbeddedSignature
{
    std::wstring signerThumbprint; // the signing certificate's SHA-1 hash, in upper-case hex
    bool hasRfc3161TimeStamp = false;
};

// Reads the signature embedded in a signed program: who signed it, and whether an RFC 3161 time stamp
// countersigns it.
EmbeddedSignature ReadEmbeddedSignature(const fs::path& file)
{
    EmbeddedSignature signature;
    UniqueCertStore store;
    UniqueCryptMessage message;
    if (!CryptQueryObject(CERT_QUERY_OBJECT_FILE, file.c_str(), CERT_QUERY_CONTENT_FLAG_PKCS7_SIGNED_EMBED,
                          CERT_QUERY_FORMAT_FLAG_BINARY, 0, nullptr, nullptr, nullptr, store.Put(),
                          message.Put(), nullptr))
        return signature;
    DWORD size = 0;
    CryptMsgGetParam(message.Get(), CMSG_SIGNER_INFO_PARAM, 0, nullptr, &size);
    std::vector<BYTE> buffer(size);
    if (!CryptMsgGetParam(message.Get(), CMSG_SIGNER_INFO_PARAM, 0, buffer.data(), &size))
        return signature;
    const auto* signer = reinterpret_cast<const CMSG_SIGNER_INFO*>(buffer.data());
    for (DWORD i = 0; i < signer->UnauthAttrs.cAttr; ++i)
        signature.hasRfc3161TimeStamp |=
            std::strcmp(signer->UnauthAttrs.rgAttr[i].pszObjId, szOID_RFC3161_counterSign) == 0;

    CERT_INFO signerId{};
    signerId.Issuer = signer->Issuer;
    signerId.SerialNumber = signer->SerialNumber;
    const UniqueCertificate certificate(CertFindCertificateInStore(
        store.Get(), X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0, CERT_FIND_SUBJECT_CERT, &signerId, nullptr));
    BYTE hash[20] = {};
    DWORD hashSize = sizeof(hash);
    if (certificate &&
        CertGetCertificateContextProperty(certificate.Get(), CERT_HASH_PROP_ID, hash, &hashSize))
        for (DWORD i = 0; i < hashSize; ++i)
        {
            wchar_t hex[3];
            std::swprintf(hex, 3, L"%02X", hash[i]);
            signature.signerThumbprint += hex;
        }
    return signature;
}

// Runs where QUORLIN_TEST_REAL_SIGNING=1 declares a real signing stack, with the thumbprint of the trusted
// code-signing certificate in the user's store given by QUORLIN_TEST_SIGNER_THUMBPRINT and the SDK's
// signtool.exe by QUORLIN_TEST_SDK_SIGNTOOL. Where it is declared, whatever it lacks is a failure, never a
// skip: a skipped signature would pass the job that declares it.
class RealSignature : public Scenario
{
  protected:
    void SetUp() override
    {
        if (EnvironmentValue(L"QUORLIN_TEST_REAL_SIGNING") != L"1")
            GTEST_SKIP()
                << "it needs a real signing stack (Windows with the SDK's signtool.exe, a trusted "
                   "code-signing certificate in the user's store, the time-stamping service in "
                   "reach), which QUORLIN_TEST_REAL_SIGNING=1 declares, as the CI workflow's Windows "
                   "job does";
        ASSERT_TRUE(IsDisposableMachine())
            << "QUORLIN_TEST_REAL_SIGNING=1 declares a real signing stack, but the scenario changes the "
               "machine and QUORLIN_TEST_DISPOSABLE_MACHINE=1 is not set";
        ASSERT_FALSE(EnvironmentValue(L"QUORLIN_TEST_SIGNER_THUMBPRINT").empty())
            << "QUORLIN_TEST_REAL_SIGNING=1 declares a real signing stack, but "
               "QUORLIN_TEST_SIGNER_THUMBPRINT names no certificate";
        m_sdkTool = EnvironmentValue(L"QUORLIN_TEST_SDK_SIGNTOOL");
        ASSERT_FALSE(m_sdkTool.empty()) << "QUORLIN_TEST_REAL_SIGNING=1 declares a real signing stack, but "
                                           "QUORLIN_TEST_SDK_SIGNTOOL names no signtool.exe of the SDK";
        // A scenario ended before its time may have left the SDK's tool at its default place aside.
        FileSetAside::MoveBackLeftAside(kDefaultSigningToolPath);
        Scenario::SetUp();
        WithTheMachinesSdk();
    }

    std::filesystem::path m_sdkTool;
};

TEST_F(RealSignature, AProgramSignedWithTheFoundToolCarriesATrustedTimeStampedSignature)
{
    ASSERT_TRUE(fs::exists(m_sdkTool)) << "the Windows SDK's signtool.exe is not where the workflow found it";
    const fs::path program = m_folder / L"Signed copy.exe";
    fs::copy_file(ExecutableDirectory() / L"standin_signtool.exe", program);
    // The time-stamping service may take its time to answer.
    const std::wstring log = SignWithTheFoundTool(program.wstring(), m_sdkTool, 120000);
    ASSERT_TRUE(log.ends_with(L"Finished!")) << log;
    EXPECT_NE(log.find(L"Successfully signed: " + program.wstring()), std::wstring::npos) << log;

    EXPECT_EQ(VerifyAuthenticode(program), ERROR_SUCCESS);
    const EmbeddedSignature signature = ReadEmbeddedSignature(program);
    EXPECT_EQ(signature.signerThumbprint, EnvironmentValue(L"QUORLIN_TEST_SIGNER_THUMBPRINT"));
    EXPECT_TRUE(signature.hasRfc3161TimeStamp);
}
} // namespace
