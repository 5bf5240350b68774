// Program entry (placeholder until the start-up sequence exists).
int main() { return 0; }
