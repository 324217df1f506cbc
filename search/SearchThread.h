#pragma once
// The worker of a threaded search: walks for its TFindFile and frees itself once the search's
// termination notification has run on the main thread.
#include "base/Thread.h"

class TFindFile;

class TSearchThread : public TThread {
public:
    explicit TSearchThread(TFindFile& findFile);

protected:
    void Execute() override;

private:
    TFindFile& FFindFile;
};
