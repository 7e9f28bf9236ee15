// The host interface with its unused table places filled: a base for every host of the add-in (the
// substitute host, the tests' hosts). It adds no virtual function, so the table stays the same.
#pragma once
#include "base/host_abi.h"

namespace host {

class HostBase : public qor::HostInterface {
 public:
  void Reserved0() override {}
  void Reserved1() override {}
  void Reserved2() override {}
  void Reserved3() override {}
  void Reserved4() override {}
  void Reserved5() override {}
  void Reserved6() override {}
  void Reserved7() override {}
  void Reserved8() override {}
  void Reserved9() override {}
  void Reserved10() override {}
  void Reserved11() override {}
  void Reserved12() override {}
  void Reserved13() override {}
  void Reserved14() override {}
  void Reserved15() override {}
  void Reserved16() override {}
  void Reserved17() override {}
  void Reserved18() override {}
  void Reserved19() override {}
  void Reserved20() override {}
  void Reserved21() override {}
  void Reserved22() override {}
  void Reserved24() override {}
  void Reserved26() override {}
  void Reserved27() override {}
  void Reserved30() override {}
  void Reserved33() override {}
  void Reserved35() override {}
  void Reserved38() override {}
  void Reserved39() override {}
  void Reserved41() override {}
  void Reserved43() override {}
  void Reserved44() override {}

 protected:
  HostBase() = default;
  ~HostBase() = default;
};

}  // namespace host
