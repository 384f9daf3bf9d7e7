/*/ package a.b; */
int packageCount = a.b;
