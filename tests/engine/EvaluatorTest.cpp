#include "engine/session/Evaluator.h"
#include "CoreFixture.h"

class EvaluatorTest : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        define("items", "");
        define("door", "1");
        define("count", "3");
        define("empty", "");
        define("float_one", "1.0");
        define("name", "anna");
        define("tricky", "x or (y");
        define("zero", "0");
        Inventory::items = {"key", "map"};
    }
};

TEST_F(EvaluatorTest, Table) {
    struct Case {
        const char* expression;
        const char* result;
    } cases[] = {
        {"", "1"},
        {"0", "0"},
        {"1", "1"},
        {"$door", "1"},
        {"$empty", "1"},
        {"$zero", "0"},
        {"not $zero", "1"},
        {"()", "1"},
        {"$door==1", "1"},
        {"$door == 1", "1"},
        {"$door!=1", "0"},
        {"$count>2", "1"},
        {"$count}2", "1"},
        {"$count{3", "0"},
        {"$count{=3", "1"},
        {"$count}=4", "0"},
        {"$count<=3", "1"},
        {"$count>=3", "1"},
        {"$count<4", "1"},
        {"$float_one==1", "0"},
        {"$float_one{=1 and $float_one}=1", "1"},
        {"%key", "1"},
        {"%sword", "0"},
        {"not %sword", "1"},
        {"not not $door==1", "1"},
        {"not not $zero==1", "0"},
        {"$door==0 or $count==3", "1"},
        {"$door==1 and $count==4", "0"},
        {"$door==0 and $count==3 or 1", "1"},
        {"1 or 0 and 0", "1"},
        {"(1 or 0) and 0", "0"},
        {"not ($door==1 and %key)", "0"},
        {"((($count==3)))", "1"},
        {"nn^anna", "1"},
        {"$name^joanna and xyz!^anna", "1"},
        {"an na==anna", "1"},
        {"$tricky==$tricky", "1"},
        {"$tricky!=x", "1"},
        {"a{b<c", "0"},
        {"5{9<1", "1"}, // "{" is looked for before "<": 5 { 9
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Evaluator::evaluate(c.expression), c.result) << c.expression;
    }
}

TEST_F(EvaluatorTest, ShortCircuitSkipsTheRest) {
    // The right side names a missing variable; it is never read.
    EXPECT_EQ(Evaluator::evaluate("1 or $missing==1"), "1");
    EXPECT_EQ(Evaluator::evaluate("0 and $missing==1"), "0");
    EXPECT_THROW(Evaluator::evaluate("0 or $missing==1"), _UnknownVariableException);
}

TEST_F(EvaluatorTest, SyntaxErrors) {
    EXPECT_THROW(
        {
            try {
                Evaluator::evaluate("($door==1");
            } catch (const _ScriptException& e) {
                EXPECT_EQ(e.message(), "SyntaxError, parentheses do not match in expression '($door==1'");
                throw;
            }
        },
        _ScriptException);
    for (const char* bad : {"$door==1)", ")(", "(1))", "(()"}) {
        try {
            Evaluator::evaluate(bad);
            FAIL() << bad;
        } catch (const _ScriptException& e) {
            // The message quotes the text as far as it was reduced.
            EXPECT_TRUE(e.message().startsWith("SyntaxError, parentheses do not match in expression '")) << bad;
            EXPECT_EQ(e.type(), "ScriptException");
        }
    }
    // Balanced but too deep: said so, and the expression is quoted to its first 200 characters.
    for (int depth : {65, 100000}) {
        std::string deep = std::string(depth, '(') + "1" + std::string(depth, ')');
        try {
            Evaluator::evaluate(deep);
            FAIL() << depth;
        } catch (const _ScriptException& e) {
            EXPECT_EQ(e.message(), "SyntaxError, parentheses nested deeper than 64 levels in expression '" +
                                       deep.substr(0, 200) + (depth > 199 ? "..." : "") + "'");
        }
    }
    std::string longText = std::string(300, 'x') + ")";
    try {
        Evaluator::evaluate(longText);
        FAIL();
    } catch (const _ScriptException& e) {
        EXPECT_EQ(e.message(), "SyntaxError, parentheses do not match in expression '" + longText + "'");
    }
    std::string ok(64, '(');
    ok += "1";
    ok += std::string(64, ')');
    EXPECT_EQ(Evaluator::evaluate(ok), "1");
}

TEST_F(EvaluatorTest, ComparisonReturnsResultsUnchanged) {
    EXPECT_EQ(Evaluator::evaluateComparison("1"), "1");
    EXPECT_EQ(Evaluator::evaluateComparison("0"), "0");
    EXPECT_EQ(Evaluator::evaluateComparison("abc"), "1");
}
