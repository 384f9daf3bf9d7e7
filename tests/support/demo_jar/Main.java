package demo;

// Prints where it runs and each argument, and ends with the status that an
// argument exit=N asks for.
public class Main {
  public static void main(String[] args) {
    System.out.println(Lib.name() + ", cwd=" + System.getProperty("user.dir"));
    for (String a : args) System.out.println("<" + a + ">");
    for (String a : args) if (a.startsWith("exit=")) System.exit(Integer.parseInt(a.substring(5)));
  }
}
