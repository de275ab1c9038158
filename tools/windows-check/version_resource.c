/* An executable that carries the panel's version resource and nothing else. */
int main(void)
{
    return 0;
}
