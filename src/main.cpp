// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/application.h"

int main(int argc, char *argv[])
{
    return kelsa::runKelsa(argc, argv);
}
