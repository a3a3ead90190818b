// The undo history: steps done and undone in order, a redo tail that a new
// change drops, the step limit, and which steps leave the scene unsaved.

#include "document/FunctionCommand.h"
#include "document/UndoHistory.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zelvane {
namespace {

// Adds `amount` to a shared total.
class AddCommand final : public UndoCommand {
public:
    AddCommand(int& total, int amount) : total_(total), amount_(amount) {}
    void Undo() override { total_ -= amount_; }
    void Redo() override { total_ += amount_; }
    std::string Text() const override { return "Add " + std::to_string(amount_); }

private:
    int& total_;
    int amount_;
};

TEST(UndoHistory, UndoesAndRedoesInOrderAndDropsTheRedoTailOnANewChange)
{
    int total = 0;
    UndoHistory history;
    EXPECT_FALSE(history.CanUndo());
    history.Undo(); // nothing to take: no change, no crash
    history.Push(std::make_unique<AddCommand>(total, 1));
    history.Push(std::make_unique<AddCommand>(total, 10));
    EXPECT_EQ(total, 11);
    EXPECT_EQ(history.UndoText(), "Add 10");

    history.Undo();
    EXPECT_EQ(total, 1);
    EXPECT_EQ(history.RedoText(), "Add 10");
    history.Redo();
    EXPECT_EQ(total, 11);
    history.Undo();
    history.Undo();
    EXPECT_EQ(total, 0);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_TRUE(history.CanRedo());

    history.Redo();
    history.Push(std::make_unique<AddCommand>(total, 100));
    EXPECT_EQ(total, 101);
    EXPECT_FALSE(history.CanRedo()) << "the undone +10 can no longer come back";
    EXPECT_EQ(history.Count(), 2u);
}

TEST(UndoHistory, KeepsAtMostItsLimit)
{
    int total = 0;
    UndoHistory history(3);
    for (int i = 1; i <= 5; ++i)
        history.Push(std::make_unique<AddCommand>(total, i));
    EXPECT_EQ(history.Count(), 3u);
    for (int i = 0; i < 5; ++i)
        history.Undo();
    EXPECT_EQ(total, 1 + 2) << "only the newest three steps can be undone";
    history.Clear();
    EXPECT_FALSE(history.CanRedo());
}

TEST(UndoHistory, KnowsWhetherTheSceneDiffersFromItsLastSave)
{
    int total = 0;
    UndoHistory history(3);
    EXPECT_FALSE(history.HasUnsavedChanges()); // a new scene
    history.Push(std::make_unique<AddCommand>(total, 1));
    EXPECT_TRUE(history.HasUnsavedChanges());
    history.MarkSaved();
    EXPECT_FALSE(history.HasUnsavedChanges());

    // Undone and redone back to the save: as saved.
    history.Undo();
    EXPECT_TRUE(history.HasUnsavedChanges());
    history.Redo();
    EXPECT_FALSE(history.HasUnsavedChanges());

    // Undone past the save and then changed otherwise: the save is out of reach.
    history.Undo();
    history.Push(std::make_unique<AddCommand>(total, 2));
    history.Undo();
    EXPECT_TRUE(history.HasUnsavedChanges());

    // Steps a saved scene does not keep (the view's settings) change nothing
    // to save, done or undone; one among them that it keeps does.
    history.Clear();
    history.Push(std::make_unique<FunctionCommand>("Zoom", [] {}, [] {}, SavedWithScene::No));
    EXPECT_FALSE(history.HasUnsavedChanges());
    history.Push(std::make_unique<AddCommand>(total, 5));
    history.Push(std::make_unique<FunctionCommand>("Cage", [] {}, [] {}, SavedWithScene::No));
    EXPECT_TRUE(history.HasUnsavedChanges());
    history.MarkSaved();
    history.Undo();
    EXPECT_FALSE(history.HasUnsavedChanges());
    history.Undo();
    EXPECT_TRUE(history.HasUnsavedChanges());
    history.Redo();
    history.Redo();
    history.Push(std::make_unique<FunctionCommand>("Cage", [] {}, [] {}, SavedWithScene::No));
    EXPECT_FALSE(history.HasUnsavedChanges());

    // The saved state dropped off the front of the history.
    history.Clear();
    history.MarkSaved();
    for (int i = 0; i < 3; ++i)
        history.Push(std::make_unique<AddCommand>(total, 1));
    history.Push(std::make_unique<AddCommand>(total, 1));
    while (history.CanUndo())
        history.Undo();
    EXPECT_TRUE(history.HasUnsavedChanges());
}

TEST(UndoHistory, FunctionCommandsRunTheirTwoHalves)
{
    std::vector<std::string> calls;
    UndoHistory history;
    history.Push(std::make_unique<FunctionCommand>(
        "Colour", [&] { calls.push_back("redo"); }, [&] { calls.push_back("undo"); }));
    history.Undo();
    history.Redo();
    EXPECT_EQ(calls, (std::vector<std::string>{"redo", "undo", "redo"}));
    EXPECT_EQ(history.UndoText(), "Colour");
}

} // namespace
} // namespace zelvane
