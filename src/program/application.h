// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelsa
{

// Starts Kelsa: creates the application and the main window and runs the event loop.
// "--tables DIR" reads the reference tables from DIR; "--screenshot FILE.png" renders the main
// window after start-up to FILE.png and exits.
int runKelsa(int argc, char *argv[]);

} // namespace kelsa
