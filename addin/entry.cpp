// The add-in's one exported entry point: the first call attaches, the next one detaches.
#include "addin/pane.h"
#include "base/addin_state.h"
#include "platform/window.h"

// No exception leaves here. An attach that fails half-way returns 0 and leaves no unregistered tree
// window behind; as when the pane cannot be made, a host reference already taken is kept, so that
// the host's next call detaches.
extern "C" QOR_EXPORT int GiveAddinInterface(qor::HostInterface* host) {
  using qor::state;
  try {
    if (state.detachPending) return 0;  // the work a detach came into is still running
    return state.host ? qor::Detach() : qor::Attach(host);
  } catch (...) {
    try {
      if (state.host && !state.detachPending) platform::Window(state.tree).Destroy();
    } catch (...) {
    }
    return 0;
  }
}
