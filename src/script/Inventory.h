#pragma once
// The items the playing character carries, mirrored comma-joined in the variable "items", and the
// item in hand.

#include "vessot/Array.h"
#include "vessot/String.h"

using vessot::String;

class Variable;

namespace Inventory {

extern vessot::Array<String> items;
extern String selectedItem;
extern bool saving;

void addItem(const String& item);
// Removes one copy; an item not held is ignored silently.
void removeItem(const String& item);
void clear();
bool hasItem(const String& item);
void setSelectedItem(const String& item);
String getSelectedItem();
// Writes the list into "items".
void save();
// The listener of "items": rebuilds the list from the variable unless the inventory itself wrote it.
void onItemsChanged(Variable* variable, const String& newValue, const String& oldValue);

} // namespace Inventory
