/* The least a launcher can do: start the program named by the first argument
   with the arguments after it, wait for it, and end with its status. */
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

int main(int argc, char** argv) {
  pid_t child;
  int status;
  if (argc < 2 || posix_spawn(&child, argv[1], 0, 0, argv + 1, environ) != 0) return 8;
  if (waitpid(child, &status, 0) < 0) return 8;
  return WIFEXITED(status) ? 14 : 13;
}
