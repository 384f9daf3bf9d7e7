/* The kit's java and javac for bench/real_files.sh: each start appends its
   working directory and its arguments, tab-separated, as one line to the
   file $NERBO_RECORD, and ends with 0. */
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

int main(int argc, char** argv) {
  char directory[4096];
  FILE* record = fopen(getenv("NERBO_RECORD"), "a");
  if (record == NULL || getcwd(directory, sizeof directory) == NULL) return 1;
  fputs(directory, record);
  for (int i = 1; i < argc; ++i) fprintf(record, "\t%s", argv[i]);
  fputc('\n', record);
  return fclose(record) == 0 ? 0 : 1;
}
