/* The floors of the whole-process benchmarks for a C program, doing
   nothing: built like any program of the project, once linked as varn is
   (statically on Linux), once dynamically. */
int main(void) { return 0; }
