// lexora's DDE service "Slovnik LXOR": another program puts a word on the
// clipboard and pokes two digits naming a dictionary slot on the topic
// "PRELOZ SLOVO"; lexora comes to the front and looks the word up in that
// slot. A request on any topic and item is answered with a fixed text.
#pragma once

#include <windows.h>
#include <ddeml.h>

namespace lexora {

// What the service asks of the program.
class DdeHost {
public:
    // True while a poke must not change anything (a dialog of the program is open).
    virtual bool PokesRefused() = 0;
    // Brings the program to the front and looks the clipboard word up in `slot`.
    virtual void TranslateClipboardWord(int slot) = 0;
    // The window that stands for the program when a handler fails.
    virtual HWND HostWindow() = 0;

protected:
    ~DdeHost() = default;
};

class DdeServer {
public:
    DdeServer() = default;
    ~DdeServer();
    DdeServer(const DdeServer&) = delete;
    DdeServer& operator=(const DdeServer&) = delete;

    void SetHost(DdeHost* host) { host_ = host; }
    // Starts DDE and registers the service; false (and no service) when DDE
    // cannot be started. Nothing happens when it is registered already.
    bool Register();
    // Ends the conversation, unregisters the service, frees the names and
    // ends DDE. Harmless when not registered.
    void Release();
    bool Registered() const { return instance_ != 0; }

    // The callback's work for this server (see DDECallback).
    HDDEDATA Answer(UINT type, UINT format, HCONV conversation, HSZ hsz1, HSZ hsz2, HDDEDATA data);

private:
    HDDEDATA Poke(HSZ topic, HDDEDATA data);
    HDDEDATA Request(UINT format);

    DdeHost* host_ = nullptr;
    DWORD instance_ = 0;
    HSZ service_ = nullptr;
    HSZ topic_ = nullptr;
    HSZ item_ = nullptr;
    HCONV conversation_ = nullptr;  // the one confirmed last
};

}  // namespace lexora
