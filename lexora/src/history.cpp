#include "history.h"

#include "client.h"

namespace lexora {

bool RunHistoryDialog(Program&, wl::Window*, TDrawWindow&) { return false; }

}  // namespace lexora
