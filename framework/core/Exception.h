// The root of the framework's exceptions. They are thrown by value and caught by reference.
#pragma once

#include "framework/core/Object.h"

class CException : public CObject {};
