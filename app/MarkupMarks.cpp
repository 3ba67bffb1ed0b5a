#include "app/MarkupMarks.h"

void TMarkList::Add(TMark mark)
{
    marks_.resize(shown_);
    marks_.push_back(std::move(mark));
    shown_ = marks_.size();
}

bool TMarkList::Undo()
{
    if (!CanUndo())
        return false;
    --shown_;
    return true;
}

bool TMarkList::Redo()
{
    if (!CanRedo())
        return false;
    ++shown_;
    return true;
}

int TMarkList::NextStepNumber() const
{
    for (size_t index = shown_; index > 0; --index) {
        const TMark& mark = marks_[index - 1];
        if (mark.tool == TMarkTool::Step)
            return mark.number + 1;
    }
    return 1;
}
