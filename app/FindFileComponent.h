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
// Being a component, it is freed by its owner, and freeing it during a search aborts the search and
// waits for the worker without raising the abort or finish events.
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

private:
    std::unique_ptr<TPersistent> FCriteriaView;
};
