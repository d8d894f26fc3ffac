#pragma once

// One recorded change that can be undone and redone. Actions refer to the
// objects they change but never own them.
class cUndoAction
{
public:
    cUndoAction() = default;
    virtual ~cUndoAction();
    cUndoAction(const cUndoAction&) = delete;
    cUndoAction& operator=(const cUndoAction&) = delete;

    virtual void Undo() = 0;
    virtual void Redo() = 0;
};
