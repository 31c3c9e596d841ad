// Compiled into every program of the sanitizer build only (ZRV_SANITIZE):
// the leak checker leaves out memory the Firebird client and the libraries it
// loads keep for the process's lifetime (the client's big-number tables, the
// engine's plugins), which no call of theirs frees. Leaks of this project's own
// code are still reported. The checker asks this function when it starts.


extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfbclient.so\n"
         "leak:libtommath.so\n"
         "leak:libEngine12.so\n"
         "leak:libicuuc.so\n"
         "leak:libicui18n.so\n";
}
