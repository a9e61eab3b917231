// A private X server for one test program: Xvfb with one 1280 x 1024 screen of 24 bits on a
// free display number, so the program's windows meet no others and the screen size is known.
#pragma once

#include <sys/types.h>

#include <string>

class PrivateDisplay {
 public:
  static constexpr int kWidth = 1280;
  static constexpr int kHeight = 1024;

  // Starts the server and waits until it accepts connections; Name() is empty on failure.
  PrivateDisplay();
  // Ends the server.
  ~PrivateDisplay();
  PrivateDisplay(const PrivateDisplay &) = delete;
  PrivateDisplay &operator=(const PrivateDisplay &) = delete;

  // The display's name, as DISPLAY takes it (":N").
  const std::string &Name() const { return m_name; }

 private:
  pid_t m_pid = -1;
  std::string m_name;
};
