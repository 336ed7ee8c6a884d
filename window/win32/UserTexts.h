// The texts in the user's interface language.
#pragma once

#include "Texts.h"

// Read once, from the user's Windows display language.
const Texts& UserTexts();
