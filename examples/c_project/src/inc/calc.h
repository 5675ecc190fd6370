// $ADD_HEADER$
#ifndef CALC_H
#define CALC_H
// $EXTERN_FILE$ notice.txt
int add(int a, int b);
#endif
