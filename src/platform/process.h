// What the program asks the operating system about processes and users.
#pragma once

#include <string>

namespace qinghe::platform {

// The home folder of the user who runs this process, as the password
// database gives it; empty when it gives none.
std::string userHome();

}  // namespace qinghe::platform
