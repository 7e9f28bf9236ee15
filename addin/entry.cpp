// The add-in's one exported entry point: the first call attaches, the next one detaches.
#include "addin/addin_state.h"
#include "addin/pane.h"

extern "C" QOR_EXPORT int GiveAddinInterface(qor::HostInterface* host) {
  return qor::state.host ? qor::Detach() : qor::Attach(host);
}
