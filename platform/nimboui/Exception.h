#pragma once
// The GUI library's exceptions; the engine derives its own kinds from _GenericException.

#include "vessot/Exception.h"

namespace nimboui {

using vessot::String;

class Dataset;

class _GenericException : public vessot::exception {
public:
    _GenericException(const String& message, const String& type = "GenericException", const String& file = "",
                      int line = 0)
        : vessot::exception(message, file, line, type) {}
};

// A named resource (image, texture, object, RAM texture, ...) that a dataset does not hold.
class _ResourceNotExistsException : public _GenericException {
public:
    _ResourceNotExistsException(const String& name, const String& kind, const String& dataset)
        : _GenericException(kind + " '" + name + "' does not exist in dataset '" + dataset + "'",
                            "ResourceNotExistsException") {}
    // The same, naming the dataset given.
    _ResourceNotExistsException(const String& name, const String& kind, const Dataset* dataset);
};

} // namespace nimboui
