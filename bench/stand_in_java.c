/* The kit's java for the start-up measure: a program that ends at once, as
   cheaply as a program can, so that what is measured is the launcher. */
int main(void) { return 0; }
