// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/expr/expressionengine.h"

// The built-in calculator's evaluator as the windows use it: the expression engine whose
// run-time errors appear in the calculator's own message box ("Error: 13. Type mismatch"
// under the title of the routine that met it) until setErrorHandler() replaces the box.
class CExpressionEvaluator : public kelsa::ExpressionEngine
{
public:
    CExpressionEvaluator();
};
