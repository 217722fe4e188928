#pragma once

#include <functional>
#include <string>

#include "wingui/Services.h"
#include "wingui/Win32.h"

// The main window: a file panel (source and destination paths, Browse,
// Encrypt, Decrypt, Swap) and a string panel (input, output, Encrypt,
// Decrypt, Paste, Copy to clipboard), plus About, placed from the layout
// tables at the monitor's density. The window does what only concerns its
// fields (Browse, a drop, Swap, Paste, Copy to clipboard); Encrypt, Decrypt
// and About are the program's, through Actions. Every button action is also
// a public procedure, which is how the command line runs them without
// showing the window.
namespace wingui {

class Form1 {
public:
    enum Field { Text1, Text2, Text3, Text4 };

    class Actions {
    public:
        virtual ~Actions() = default;
        virtual void EncFile_Click() = 0;
        virtual void DecFile_Click() = 0;
        virtual void EncStr_Click() = 0;
        virtual void DecStr_Click() = 0;
        virtual void mAbout_Click() = 0;
    };

    Form1(Actions& actions, MessageBoxes& messages);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The load step: creates the window (hidden) and its controls, turns on
    // path completion in Text1 and leaves the four fields empty. False when
    // the window could not be made.
    bool Form_Load();
    // Shows the window and runs the message loop until it closes.
    int ShowAndRun();
    // Closes the window (and with it the program's message loop).
    void Close();

    HWND Handle() const { return window_; }
    std::u16string Text(Field field) const;
    void SetText(Field field, const std::u16string& text);

    // The file panel's own actions.
    void BrowseF_Click();
    void Text1_Drop(const std::u16string& file);
    void DeriveDstFile();
    void mSwap_Click();
    // The string panel's clipboard buttons.
    void mPaste_Click();
    bool Copy2Clip_Click();

    // Runs one action as the buttons and the drop do: refused while another
    // runs, and whatever it throws ends in a message box. True when it ran.
    bool RunAction(const std::function<void()>& action);
    bool ActionRunning() const { return running_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void Layout(int dpi);
    void OnCommand(int id);
    HWND Control(int id) const;

    Actions& actions_;
    MessageBoxes& messages_;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    bool running_ = false;
};

}  // namespace wingui
