// What a form needs of the application that hosts it: the hidden window
// that owns every form, which form is the main one, and the message loop.
// The application object is the one host; forms reach it through
// FormHost(), so that the forms and the application need not include each
// other.
#pragma once

#include <windows.h>

#include <cstdint>

class TForm;

class IFormHost {
public:
    // The hidden window that owns the forms.
    virtual HWND Handle() const = 0;
    virtual TForm* MainForm() const = 0;
    virtual void MainFormShown(bool shown) = 0;
    virtual void Minimize() = 0;
    virtual void EndSession() = 0;
    virtual void Terminate() = 0;
    virtual bool Terminated() const = 0;
    virtual void HandleMessageOrWait() = 0;
    // Destroys the form's window once the message at hand is done.
    virtual void Release(TForm* form) = 0;

protected:
    ~IFormHost() = default;
};

// The application object.
IFormHost& FormHost();

// Waits ms milliseconds while processing window messages. It never sleeps:
// each round reads the tick count and processes the pending messages, until
// the unsigned difference to the start has reached ms.
void PumpWait(uint32_t ms);
