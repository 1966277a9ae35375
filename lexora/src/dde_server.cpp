#include "dde_server.h"

#include <dde.h>

#include "lexora/rules/dde_poke.h"
#include "winlib/exception_barrier.h"

namespace lexora {

namespace {

// DDE calls back without saying for which instance: the one registered server
// of this program.
DdeServer* registered = nullptr;

HDDEDATA CALLBACK DDECallback(UINT type, UINT format, HCONV conversation, HSZ hsz1, HSZ hsz2, HDDEDATA data,
                              ULONG_PTR, ULONG_PTR) {
    if (!registered) return nullptr;
    return registered->Answer(type, format, conversation, hsz1, hsz2, data);
}

}  // namespace

DdeServer::~DdeServer() { Release(); }

bool DdeServer::Register() {
    if (instance_) return true;
    DWORD instance = 0;
    if (::DdeInitializeA(&instance, DDECallback, 0, 0) != DMLERR_NO_ERROR) return false;
    instance_ = instance;
    registered = this;
    service_ = ::DdeCreateStringHandleA(instance_, kDdeService, CP_WINANSI);
    topic_ = ::DdeCreateStringHandleA(instance_, kDdeTopic, CP_WINANSI);
    item_ = ::DdeCreateStringHandleA(instance_, kDdeItem, CP_WINANSI);
    if (!service_ || !topic_ || !item_ || !::DdeNameService(instance_, service_, nullptr, DNS_REGISTER)) {
        Release();
        return false;
    }
    return true;
}

void DdeServer::Release() {
    if (!instance_) return;
    if (conversation_) ::DdeDisconnect(conversation_);
    conversation_ = nullptr;
    if (service_) ::DdeNameService(instance_, service_, nullptr, DNS_UNREGISTER);
    for (HSZ* name : {&service_, &topic_, &item_}) {
        if (*name) ::DdeFreeStringHandle(instance_, *name);
        *name = nullptr;
    }
    ::DdeUninitialize(instance_);
    instance_ = 0;
    if (registered == this) registered = nullptr;
}

HDDEDATA DdeServer::Answer(UINT type, UINT format, HCONV conversation, HSZ hsz1, HSZ hsz2, HDDEDATA data) {
    switch (type) {
    case XTYP_CONNECT:
        // Any topic of our service.
        return reinterpret_cast<HDDEDATA>(static_cast<INT_PTR>(::DdeCmpStringHandles(hsz2, service_) == 0));
    case XTYP_CONNECT_CONFIRM:
        conversation_ = conversation;
        return nullptr;
    case XTYP_DISCONNECT:
        if (conversation == conversation_) conversation_ = nullptr;
        return nullptr;
    case XTYP_REQUEST:
        return Request(format);
    case XTYP_POKE: {
        HWND window = host_ ? host_->HostWindow() : nullptr;
        LRESULT result = wl::CallGuarded(window, WM_DDE_POKE, [&] {
            return reinterpret_cast<LRESULT>(Poke(hsz1, data));
        });
        return reinterpret_cast<HDDEDATA>(result);
    }
    default:
        return nullptr;
    }
}

HDDEDATA DdeServer::Request(UINT format) {
    // The answer is 8-bit text; other formats are not offered.
    if (format != CF_TEXT) return nullptr;
    auto block = RequestAnswer();
    return ::DdeCreateDataHandle(instance_, reinterpret_cast<BYTE*>(block.data()), static_cast<DWORD>(block.size()),
                                 0, item_, CF_TEXT, 0);
}

HDDEDATA DdeServer::Poke(HSZ topic, HDDEDATA data) {
    auto flags = [](UINT f) { return reinterpret_cast<HDDEDATA>(static_cast<UINT_PTR>(f)); };
    if (::DdeCmpStringHandles(topic, topic_) != 0) return flags(DDE_FNOTPROCESSED);
    if (!host_ || host_->PokesRefused()) return flags(DDE_FBUSY);
    unsigned char bytes[kPokeBufferSize] = {};
    const DWORD size = data ? ::DdeGetData(data, bytes, sizeof bytes, 0) : 0;
    const int slot = PokedSlot(bytes, size);
    if (slot < 0) return flags(DDE_FNOTPROCESSED);
    host_->TranslateClipboardWord(slot);
    return flags(DDE_FACK);
}

}  // namespace lexora
