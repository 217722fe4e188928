#pragma once

#include <string>

#include "cipher/ProgressSink.h"
#include "core/Messages.h"
#include "core/flows/Outcome.h"

namespace core {

// The few things the actions' flows need from a program's user interface.
// A front end (the Qt window, the command-line tool, a native window)
// implements this interface with its own views; the flows in this folder
// hold the whole dialogue: what is checked, what is asked in which order,
// what is done and how it ends.
//
// Texts cross the interface as messages::Message: an English template from
// the shared catalogue (core/Messages.h) with %1...%9 and its arguments in
// UTF-8. A front end that translates looks the template up first (context
// messages::kContext) and then fills in the arguments with
// messages::FillPlaceholders; one that does not uses messages::Render.
//
// Everything runs on the caller's thread. Every call may run the front
// end's event loop (a modal prompt, a message box), but the flow does not
// continue before the call returns.
namespace flows {

// A request for a password.
struct PasswordQuestion {
    messages::Message title;    // the prompt's title: the application's name
    messages::Message caption;  // the label above the box: kEnterPassword or kReEnterPassword
    bool again = false;         // the confirmation of the password just typed
};

enum class PasswordReply {
    Typed,      // the user typed `password` (which may be empty: no password)
    Cancelled,  // the user declined (Escape, Cancel, closing the prompt)
    Refused,    // no password could be had: nobody can be asked, or reading failed
};

// Which answer a yes/no question preselects: the one Enter gives.
enum class DefaultAnswer { Yes, No };

struct PasswordAnswer {
    PasswordReply reply = PasswordReply::Typed;
    // For Refused: how the action ends (its status, and the message if the
    // front end has not shown one already).
    Outcome outcome;
};

// How the user asked to stop a running file operation.
enum class StopRequest {
    None,     // not asked
    Confirm,  // a key in a window: the flow asks kStopQuestion, and stops on Yes
    Now,      // an interrupt on a terminal: stopped without a question
};

class FrontEnd {
public:
    virtual ~FrontEnd() = default;

    // Asks for a password and waits for the answer. On Typed, `password`
    // holds what was typed (an empty answer may be reported as Typed or as
    // Cancelled: both mean no password); otherwise the flow does not read
    // it. The front end keeps no copy of what was typed and wipes its own
    // buffers. Where nobody can be asked (no display, no terminal), say why
    // (or leave it to the outcome's message) and answer Refused with the
    // outcome the action is to end with.
    virtual PasswordAnswer AskPassword(const PasswordQuestion& question,
                                       std::u16string& password) = 0;

    // Asks a question with Yes and No, `preselected` being the default
    // button; true for Yes. Where nobody can answer, the answer is No,
    // whatever the default.
    virtual bool AskYesNo(const messages::Message& question, DefaultAnswer preselected) = 0;

    // Tells the user something and returns when it has been shown (a modal
    // box closed, a line written to standard error).
    virtual void Inform(const messages::Message& message) = 0;

    // Where the engine reports progress while a file or a text is worked on
    // (a status strip, a progress bar). It must stay valid for the front
    // end's lifetime.
    virtual cipher::ProgressSink& Progress() = 0;

    // The busy state around a file operation and a wipe: the pointer an
    // hourglass, the window disabled against a second action, the progress
    // shown. Calls come in pairs, never nested; use BusyScope.
    virtual void BeginBusy() = 0;
    virtual void EndBusy() = 0;

    // Asked between two chunks of a running file operation (often; answer
    // quickly): whether the user asked to stop it. A Confirm is answered once
    // for each request; a Now may be answered again until the program ends.
    // The default never stops.
    virtual StopRequest TakeStopRequest() { return StopRequest::None; }
};

// The engine's progress sink for one file operation: the front end's own,
// and between chunks the front end's stop request, confirmed where it asks
// for that. Once stopped it stays stopped.
class StopWatch final : public cipher::ProgressSink {
public:
    explicit StopWatch(FrontEnd& frontEnd) : frontEnd_(frontEnd) {}

    void Progress(std::int32_t& Percent) override { frontEnd_.Progress().Progress(Percent); }
    void SetStatusText(const std::u16string& text) override {
        frontEnd_.Progress().SetStatusText(text);
    }
    void PumpEvents() override { frontEnd_.Progress().PumpEvents(); }
    bool StopRequested() override;

private:
    FrontEnd& frontEnd_;
    bool stopped_ = false;
};

// The busy state for the lifetime of the object, ended however the scope is left.
class BusyScope {
public:
    explicit BusyScope(FrontEnd& frontEnd) : frontEnd_(frontEnd) { frontEnd_.BeginBusy(); }
    ~BusyScope() { frontEnd_.EndBusy(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    FrontEnd& frontEnd_;
};

// Shows an outcome's message, if it has one, and returns its exit status.
int Finish(FrontEnd& frontEnd, const Outcome& outcome);

}  // namespace flows

}  // namespace core
