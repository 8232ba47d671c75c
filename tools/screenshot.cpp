// placeholder until the screenshot tool lands
int main() { return 0; }
