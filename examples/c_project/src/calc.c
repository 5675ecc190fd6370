int add(int a, int b) { return a + b; } /* $PROJECT_NAME$ */
