// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/expr/expressionevaluator.h"

#include "gui/expr/evaluatormessagebox.h"

CExpressionEvaluator::CExpressionEvaluator()
    : kelsa::ExpressionEngine(&kelsa::showEvaluatorError)
{
}
