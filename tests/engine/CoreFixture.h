#pragma once
// A fresh variable store and inventory for each test, with the log kept quiet.

#include "engine/session/Vars.h"
#include "script/Inventory.h"

#include "vessot/Log.h"

#include <gtest/gtest.h>

class CoreFixture : public ::testing::Test {
protected:
    void SetUp() override {
        vessot::Log::setEcho(false);
        Vars::variables = VariableTable();
        Vars::snapshot = VariableTable();
        Vars::nullVariable = Variable();
        Inventory::items.clear();
        Inventory::selectedItem = "";
        Inventory::saving = false;
    }
    void TearDown() override { vessot::Log::setEcho(true); }

    // Adds a stored variable whose value is also its initial value.
    Variable* define(const String& name, const String& value) {
        Variable* v = Vars::getOrCreate(name);
        v->name = name;
        v->value = value;
        v->initialValue = value;
        return v;
    }
};
