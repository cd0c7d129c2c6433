/* The floor of the whole-process benchmarks for a C program: started,
   linked and ended like any program of the project, doing nothing. */
int main(void) { return 0; }
