// placeholder until the artwork generator lands
int main() { return 0; }
