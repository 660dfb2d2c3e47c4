#pragma once

#include "Wnd.h"

#include <optional>

class CDialogEx;

// The direction and the dialog of one data exchange: true copies the controls into the members.
struct CDataExchange
{
    bool m_bSaveAndValidate;
    CDialogEx* m_pDlgWnd;
};

// Copies the whole text of control id to or from the member; a control that already shows the member's text
// is left as it is.
void DDX_Text(CDataExchange* exchange, int id, CString& value);
// Attaches the control member to control id the first time; later calls change nothing.
void DDX_Control(CDataExchange* exchange, int id, CWnd& control);

// A dialog built from a template of the program's resources. Its window procedure routes every message
// to OnMessage, where a derived dialog looks in its own message map first; nothing a handler throws gets
// past the window procedure.
class CDialogEx : public CWnd
{
  public:
    explicit CDialogEx(UINT templateId, CWnd* parent = nullptr);
    CDialogEx(const CDialogEx&) = delete;
    CDialogEx& operator=(const CDialogEx&) = delete;
    ~CDialogEx() override;

    // Creates the window, runs it until it is ended, destroys it and returns the end code; -1 when the
    // window could not be created. The owner is disabled meanwhile.
    INT_PTR DoModal();
    // Creates the window without a loop of its own; DoModal uses it, and so do tests that drive a dialog.
    bool Create();
    void EndDialog(INT_PTR result);
    // The end code once EndDialog has been called.
    std::optional<INT_PTR> EndCode() const { return m_endCode; }

    // Runs DoDataExchange: true copies the controls into the members (pull), false the other way (push).
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

  protected:
    virtual void DoDataExchange(CDataExchange*) {}
    // Pushes the members into the controls and centres the window over its owner. TRUE: focus the first
    // tab stop.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnPaint() { Default(); }
    // The message's handling; false leaves it to the default dialog processing.
    virtual bool OnMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result);
    // Gives the message being handled its default processing once its handler returns.
    void Default() { m_defaultRequested = true; }

  private:
    static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM w, LPARAM l);
    INT_PTR Route(UINT message, WPARAM w, LPARAM l);

    UINT m_templateId;
    CWnd* m_parent;
    HWND m_owner = nullptr;
    std::optional<INT_PTR> m_endCode;
    bool m_defaultRequested = false;
};
