// The undo history: steps done and undone in order, a redo tail that a new
// change drops, merged drag steps, the step limit, and commands that own
// objects letting go of them only when they are forgotten.

#include "document/FunctionCommand.h"
#include "document/UndoHistory.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zelvane {
namespace {

// Adds `amount` to a shared total; merges with another of the same key.
class AddCommand final : public UndoCommand {
public:
    AddCommand(int& total, int amount, int key = 0) : total_(total), amount_(amount), key_(key) {}
    void Undo() override { total_ -= amount_; }
    void Redo() override { total_ += amount_; }
    std::string Text() const override { return "Add " + std::to_string(amount_); }
    bool MergeWith(const UndoCommand& next) override
    {
        const auto* other = dynamic_cast<const AddCommand*>(&next);
        if (!other || key_ == 0 || other->key_ != key_)
            return false;
        amount_ += other->amount_;
        return true;
    }

private:
    int& total_;
    int amount_;
    int key_;
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

TEST(UndoHistory, MergesStepsOfOneDragButNotOfTwoOrAcrossAnUndo)
{
    int total = 0;
    UndoHistory history;
    // Recorded: the change is already made by whoever records it.
    for (int step = 0; step < 5; ++step) {
        total += 2;
        history.Record(std::make_unique<AddCommand>(total, 2, 7));
    }
    EXPECT_EQ(history.Count(), 1u);
    total += 3;
    history.Record(std::make_unique<AddCommand>(total, 3, 8));
    EXPECT_EQ(history.Count(), 2u);

    history.Undo();
    history.Undo();
    EXPECT_EQ(total, 0) << "the five steps of the first drag undo as one";
    history.Redo();
    EXPECT_EQ(total, 10);
    // A new drag with the undone drag's number starts a step of its own.
    total += 1;
    history.Record(std::make_unique<AddCommand>(total, 1, 8));
    EXPECT_EQ(history.Count(), 2u);
}

TEST(UndoHistory, KeepsAtMostItsLimitAndTellsItsObserverOfEveryChange)
{
    int total = 0;
    int changes = 0;
    UndoHistory history(3);
    history.SetChangeObserver([&] { ++changes; });
    for (int i = 1; i <= 5; ++i)
        history.Push(std::make_unique<AddCommand>(total, i));
    EXPECT_EQ(history.Count(), 3u);
    for (int i = 0; i < 5; ++i)
        history.Undo();
    EXPECT_EQ(total, 1 + 2) << "only the newest three steps can be undone";
    history.Clear();
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(changes, 5 + 3 + 1);
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

    // A drag that goes on after the save changes its step.
    history.Clear();
    EXPECT_FALSE(history.HasUnsavedChanges());
    history.Push(std::make_unique<AddCommand>(total, 5, 7));
    history.MarkSaved();
    history.Push(std::make_unique<AddCommand>(total, 5, 7));
    EXPECT_EQ(history.Count(), 1u);
    EXPECT_TRUE(history.HasUnsavedChanges());
    history.Undo();
    EXPECT_TRUE(history.HasUnsavedChanges());

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
