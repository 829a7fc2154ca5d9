// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelsa
{

// Starts Kelsa as its command line says (commandline.h): the main window with its event loop,
// its screenshot, or one of the commands that compute without a window.
int runKelsa(int argc, char *argv[]);

} // namespace kelsa
