// The desktop program's entry point; the application object does the rest.
int main() { return 0; }
