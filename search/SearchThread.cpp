#include "search/SearchThread.h"

#include "search/FindFile.h"

TSearchThread::TSearchThread(TFindFile& findFile) : FFindFile(findFile) {
    SetFreeOnTerminate(true);
    SetPriority(findFile.ThreadPriority);
    OnTerminate = [&findFile](TThread*) { findFile.ThreadTerminated(); };
}

void TSearchThread::Execute() { FFindFile.RunSearch(); }
