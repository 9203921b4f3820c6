// Preloaded into the crash test's worker: a killed process loses nothing that
// reached the kernel, so syncs only slow it down. Without them the worker
// makes many more changes between kills. (Syncs are checked by the power-cut test.)
extern "C" int fsync(int)
{
    return 0;
}

extern "C" int fdatasync(int)
{
    return 0;
}

extern "C" int syncfs(int)
{
    return 0;
}

extern "C" void sync() {}
