// The root of the framework's object classes: a virtual destructor, so that owners can delete
// any object through a base pointer.
#pragma once

class CObject {
public:
    virtual ~CObject() = default;
};
