#pragma once

#include "../platform/AccessibleNames.h"
#include "../platform/DialogEx.h"
#include "../platform/DynamicLayout.h"
#include "../platform/MessageMap.h"
#include "../platform/SessionHold.h"
#include "../platform/TaskbarProgress.h"
#include "../signing/SystemSigningRunHost.h"
#include "../toolpath/ToolDiscovery.h"

// The main dialog. It owns the working state (the list text, the file list, the log, the tool path and the
// icon), binds the three edits to their members by explicit data exchange only, and is the host of the
// signing run and of the "..." button.
class CQuorlinDlg : public CDialogEx, private SystemSigningRunHost, private BrowseHost
{
  public:
    CQuorlinDlg();

    // Replaces the list text and the file list with a list file's; needs no window.
    void LoadListFile(const CString& path);

  protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) override;

    void OnSysCommand(UINT id, LPARAM l);
    void OnPaint() override;
    HCURSOR OnQueryDragIcon();
    void OnFileListChange() {}
    void OnSign();
    void OnDropFiles(HDROP drop);
    void OnSave();
    void OnClear();
    void OnBrowse();
    void OnToolPathChange() {}
    void OnDestroy();
    BOOL OnQueryEndSession();
    void OnSize();
    void OnGetMinMaxInfo(MINMAXINFO* info);
    void OnDpiChanged(const RECT* suggested);

  private:
    static const MessageMapEntry<CQuorlinDlg> kMessageMap[];

    void LocateSigningTool();
    // Copies the list edit's text, and only it, into the list text.
    void PullFileList();
    // Puts the list's caret at its start or its end and scrolls it into view.
    void ShowListFrom(bool end);
    // Where the user goes on working after a button has done its work: typing goes to the list.
    void GiveTheKeyboardToTheList();
    // Whether the log's last line is in view, and scrolling it there.
    bool LogShowsItsEnd() const;
    void ShowTheLogsEnd();

    // The dialog's half of the signing run and of the "..." button.
    CString& ToolPath() override { return m_toolPath; }
    CString& FileListText() override { return m_fileListText; }
    CStringArray& Files() override { return m_files; }
    CString& LogText() override { return m_logText; }
    void SetRunning(bool running) override;
    void PullControls() override { UpdateData(TRUE); }
    void PushControls() override { UpdateData(FALSE); }
    void ShowLog() override;
    void AppendToLog(const CString& part) override;
    bool TakeListReplaced() override;
    void ShowProgress(std::size_t done, std::size_t total) override;
    std::optional<CString> PickSigningTool() override;

    CStringArray m_files;
    HICON m_hIcon;
    CString m_fileListText;
    CString m_logText;
    CString m_toolPath;
    CEdit m_logEdit;
    CAccessibleNames m_accessibleNames;
    CDynamicLayout m_layout;
    CTaskbarProgress m_taskbar;
    CSessionHold m_sessionHold;
    // Whether a signing run is walking m_files.
    bool m_signing = false;
    // Whether m_files was replaced since the signing run last asked.
    bool m_listReplaced = false;
};
