// The add-in module, loaded as the real host loads the DLL: open it, look up GiveAddinInterface.
#pragma once
#include <string>

#include "base/host_abi.h"

namespace host {

class AddinModule {
 public:
  // Throws std::runtime_error when the module cannot be loaded or lacks the entry point.
  explicit AddinModule(const std::string& path);
  AddinModule(const AddinModule&) = delete;
  AddinModule& operator=(const AddinModule&) = delete;

  // Attaches the add-in on the first call, detaches it on the next, as the add-in decides.
  int GiveInterface(qor::HostInterface* hostInterface) const { return entry_(hostInterface); }

 private:
  qor::GiveAddinInterfaceFunction entry_ = nullptr;
};

// QORMAIL.so beside the running program.
std::string DefaultAddinPath();

}  // namespace host
