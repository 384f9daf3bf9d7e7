package a.b.c;
public class Deep {
  public static void main(String[] args) { System.out.println("deep"); }
}
