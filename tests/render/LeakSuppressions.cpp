// fontconfig keeps its configuration until FcFini, which Qt never calls;
// LeakSanitizer would report that as a leak at exit in every test that
// draws text. Only fontconfig's own allocations are excused.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
