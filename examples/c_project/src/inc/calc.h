// $ADD_HEADER$
#ifndef CALC_H
#define CALC_H
// $EXTERN_FILE$ licence.txt
int add(int a, int b);
#endif
