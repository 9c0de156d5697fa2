#pragma once

#include <string>

#include "base/message.h"

namespace zcd {

// The window a command line acts on: the own main window, or a running
// instance reached from a second one.
class CommandTarget {
 public:
  virtual ~CommandTarget() = default;
  // Drive index the target uses now.
  virtual int CurrentDrive() const = 0;
  virtual void Post(const Message& message) = 0;
  virtual void Minimize() = 0;
  virtual void Restore() = 0;
  // Switches network logging on in the parsing process.
  virtual void EnableNetLogging() = 0;
};

// Acts on target as the command line asks. Options are matched anywhere in
// the text and in a fixed order, without regard to case; forwarding is true
// when a second instance parses for a running one.
void ParseCommandLine(CommandTarget& target, std::string text, bool forwarding);

}  // namespace zcd
