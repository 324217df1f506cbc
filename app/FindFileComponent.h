#pragma once
// The search component as the window's description stores it. The search itself (search/) knows
// nothing of the GUI framework; this class gives it a place among the window's components, a class
// name the description can create, and its criteria and events as published properties:
//
//     object FindFile1: TFindFile
//       Criteria.Attribute.Attributes = [ffHidden, ffSystem, ffDirectory]
//       Criteria.Attribute.ExactMatch = True
//       OnFileMatch = FindFile1FileMatch
//     end
//
// Being a component, it is freed by its owner. A running search ends (aborted, the worker awaited,
// neither the abort nor the finish event raised) as soon as the owner's destruction begins, before any
// other component of the owner goes, or when the component is freed on its own.
#include "search/FindFile.h"
#include "ui/Component.h"

#include <memory>

class TFindFileComponent : public TComponent, public TFindFile {
public:
    CLARIVO_CLASS

    explicit TFindFileComponent(TComponent* owner);
    ~TFindFileComponent() override;

    // The published view of Criteria (owned; reads and writes go straight to Criteria).
    TPersistent* CriteriaProperties() { return FCriteriaView.get(); }

    bool GetThreaded() const { return Threaded; }
    void SetThreaded(bool value) { Threaded = value; }
    TThreadPriority GetThreadPriority() const { return ThreadPriority; }
    void SetThreadPriority(TThreadPriority value) { ThreadPriority = value; }

protected:
    void StopWork() override { Shutdown(); }

private:
    std::unique_ptr<TPersistent> FCriteriaView;
};
