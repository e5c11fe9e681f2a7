// The root of the framework's exceptions. They are thrown by value and caught by reference.
#pragma once

#include "framework/core/Object.h"

class CException : public CObject {};

// Memory for something the program reads could not be had. Raised in place of std::bad_alloc
// where a load ends, so that the windows catch it together with the load's other failures.
class CMemoryException : public CException {};
